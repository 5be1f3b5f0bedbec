#include "vector/obj2d.h"

#include <cstring>

#include "base/record.h"
#include "base/wrap.h"

static ErrorReport obj2d_errors{"OBJ2D error\n", false, 0};

ErrorReport& OBJ2D_report() { return obj2d_errors; }

OBJ2D* OBJ2D_new()
{
    OBJ2D* object = record_new<OBJ2D>();
    if (!object) {
        REPORT_raise(obj2d_errors);
        return nullptr;
    }
    object->segments = LIST_new();
    object->points = LIST_new();
    if (!object->segments || !object->points) {
        if (object->segments) LIST_free(&object->segments);
        if (object->points) LIST_free(&object->points);
        record_free(&object);
        REPORT_raise(obj2d_errors);
        return nullptr;
    }
    return object;
}

void OBJ2D_free(OBJ2D** object)
{
    if (!object || !*object) {
        REPORT_raise(obj2d_errors);
        return;
    }
    OBJ2D* o = *object;
    if (o->segments) {
        for (int32_t i = o->segments->count - 1; i >= 0; --i) {
            auto* segment = static_cast<SEG2D*>(o->segments->items[i]);
            if (segment) SEG2D_free(&segment);
        }
        LIST_free(&o->segments);
    }
    if (o->points) LIST_free(&o->points);
    record_free(object);
}

void OBJ2D_free_set(LIST** set)
{
    if (!set || !*set) {
        REPORT_raise(obj2d_errors);
        return;
    }
    for (int32_t i = (*set)->count - 1; i >= 0; --i) {
        auto* object = static_cast<OBJ2D*>((*set)->items[i]);
        if (object) OBJ2D_free(&object);
    }
    LIST_free(set);
}

void OBJ2D_add_segment(OBJ2D* object, SEG2D* segment)
{
    if (!object || !segment || !object->segments || !object->points) {
        REPORT_raise(obj2d_errors);
        if (segment) SEG2D_free(&segment);
        return;
    }
    const int32_t segments = object->segments->count, points = object->points->count;
    LIST_append(object->segments, segment);
    LIST_append(object->points, &segment->p1);
    LIST_append(object->points, &segment->p2);
    if (object->segments->count != segments + 1 || object->points->count != points + 2) {
        // A list could not grow: undo the partial append so both lists stay consistent.
        while (object->segments->count > segments) LIST_pop(object->segments);
        while (object->points->count > points) LIST_pop(object->points);
        SEG2D_free(&segment);
        REPORT_raise(obj2d_errors);
    }
}

void OBJ2D_set_colour(OBJ2D* object, uint32_t colour)
{
    if (!object || !object->points) {
        REPORT_raise(obj2d_errors);
        return;
    }
    for (int32_t i = object->points->count - 1; i >= 0; --i) {
        auto* point = static_cast<VEC2D*>(object->points->items[i]);
        if (point) point->colour = colour;
    }
}

void OBJ2D_shift_segments(OBJ2D* object)
{
    if (!object || !object->segments) {
        REPORT_raise(obj2d_errors);
        return;
    }
    for (int32_t i = object->segments->count - 1; i >= 0; --i) {
        auto* segment = static_cast<SEG2D*>(object->segments->items[i]);
        if (segment) SEG2D_translate(segment, &object->position);
    }
}

void OBJ2D_draw(const OBJ2D* object, Image* image)
{
    if (!object || !object->segments || !image) {
        REPORT_raise(obj2d_errors);
        return;
    }
    for (int32_t i = object->segments->count - 1; i >= 0; --i) {
        const auto* segment = static_cast<const SEG2D*>(object->segments->items[i]);
        if (!segment) continue;
        // The stored segment never changes: every frame transforms a fresh copy on the stack.
        SEG2D scratch;
        SEG2D_copy(segment, &scratch);
        SEG2D_mul(&scratch, &object->scale);
        SEG2D_rotate(&scratch, object->angle);
        SEG2D_translate(&scratch, &object->position);
        SEG2D_draw(&scratch, image);
    }
}

namespace {

// Bytes are taken as signed, so 128..255 fall among the separators.
bool is_separator(signed char c) { return (c >= 1 && c <= 32) || c == 127 || c < 0 || c == ',' || c == ';'; }
bool is_word(signed char c) { return c >= 33 && c <= 126 && c != ',' && c != ';'; }
bool is_digit(signed char c) { return c >= '0' && c <= '9'; }
bool is_letter(signed char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool is_sign(signed char c) { return is_word(c) && !is_digit(c) && !is_letter(c); }
char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
int hex_value(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

constexpr int token_max = 255;  // characters of one word; the buffer holds one more for the zero

struct Parser {
    const char* text;
    std::size_t pos = 0;
    char token[token_max + 1] = {};
    int length = 0;
    int32_t sign = 1;             // applied to the next decimal number, then back to +1
    uint32_t colour = 0;          // current colour: written into completed coordinate pairs
    bool colour_pending = false;  // the next "$" or hex word sets the current colour
    SEG2D* segment = nullptr;     // pending segment, filled coordinate by coordinate
    int coordinate = 0;           // p1.x, p1.y, p2.x, p2.y in turn
    OBJ2D* open = nullptr;        // the block being read
    LIST* result = nullptr;

    signed char at(std::size_t i) const { return static_cast<signed char>(text[i]); }

    // Reads the next token; false at the end of the text, or when the token is the text's last
    // byte run (a token must be followed by one more byte to be acted on).
    bool next()
    {
        while (is_separator(at(pos))) ++pos;
        if (at(pos) == 0) return false;
        length = 0;
        token[length++] = text[pos++];
        if (!is_sign(token[0])) {
            while (is_word(at(pos))) {
                token[length++] = text[pos];
                // A full word is cut at its last character, which is left to begin the next token.
                if (length == token_max) break;
                ++pos;
            }
        }
        token[length] = 0;
        return at(pos) != 0;
    }

    bool is_key(const char* key) const
    {
        const std::size_t n = std::strlen(key);
        if (static_cast<std::size_t>(length) != n) return false;
        for (std::size_t i = 0; i < n; ++i)
            if (lower(token[i]) != key[i]) return false;
        return true;
    }

    // The rest of the line after blanks, as a new zero-terminated copy (null when empty).
    std::unique_ptr<char[]> text_value(bool skip_commas)
    {
        while (at(pos) != 0 && (is_separator(at(pos)) && (skip_commas || (at(pos) != ',' && at(pos) != ';')))) ++pos;
        const std::size_t start = pos;
        while (at(pos) != 0 && at(pos) != '\n') ++pos;
        if (pos == start) return nullptr;
        auto value = block_new<char>(pos - start + 1);
        if (!value) {
            REPORT_raise(obj2d_errors);
            return nullptr;
        }
        std::memcpy(value.get(), text + start, pos - start);
        value[pos - start] = 0;
        return value;
    }

    void hex_colour()
    {
        // "$" takes the characters right after it: one sign character, or a run of word characters.
        if (is_sign(at(pos))) {
            token[length++] = text[pos++];
        } else {
            while (length < token_max && is_word(at(pos))) token[length++] = text[pos++];
        }
        token[length] = 0;
        uint32_t value = 0;
        for (int i = 1; i < length && hex_value(token[i]) >= 0; ++i) value = value * 16u + static_cast<uint32_t>(hex_value(token[i]));
        if (colour_pending) colour = value, colour_pending = false;
    }

    void hex_word()
    {
        uint32_t value = 0;
        for (int i = 1; i < length && hex_value(token[i]) >= 0; ++i) value = value * 16u + static_cast<uint32_t>(hex_value(token[i]));
        if (colour_pending) colour = value;
    }

    void number()
    {
        uint32_t magnitude = 0;
        for (int i = 0; i < length && is_digit(token[i]); ++i) magnitude = magnitude * 10u + static_cast<uint32_t>(token[i] - '0');
        const int32_t value = wrap_mul(static_cast<int32_t>(magnitude), sign);
        sign = 1;
        if (!segment) return;
        switch (coordinate) {
        case 0: segment->p1.x = value; break;
        case 1: segment->p1.y = value, segment->p1.colour = colour; break;
        case 2: segment->p2.x = value; break;
        default: segment->p2.y = value, segment->p2.colour = colour; break;
        }
        coordinate = (coordinate + 1) & 3;
        if (coordinate != 0) return;
        if (open) {
            OBJ2D_add_segment(open, segment);
        } else {
            SEG2D_free(&segment);  // a segment outside any block is discarded
        }
        segment = nullptr;
    }

    void close_block()
    {
        const int32_t before = result->count;
        LIST_append(result, open);
        if (result->count == before && open) OBJ2D_free(&open);  // the set could not grow
        open = nullptr;
    }

    void act()
    {
        const char first = token[0];
        if (length == 1 && first == '#') {
            while (at(pos) != 0 && at(pos) != '\n') ++pos;
        } else if (length == 1 && first == '{') {
            if (!open) open = OBJ2D_new();
        } else if (length == 1 && first == '}') {
            close_block();
        } else if (length == 1 && first == '-') {
            sign = -1;
        } else if (length == 1 && first == '$') {
            hex_colour();
        } else if (is_key("name")) {
            auto value = text_value(false);
            if (open) open->name = std::move(value);
        } else if (is_key("version") || is_key("author") || is_key("type")) {
            const char key = lower(first);
            auto value = text_value(true);
            if (open) (key == 'v' ? open->version : key == 'a' ? open->author : open->type) = std::move(value);
        } else if (is_digit(first)) {
            number();
        } else if (lower(first) == 'x' || lower(first) == 'h') {
            hex_word();
        } else if (lower(first) == 'c') {
            colour_pending = true;
        } else if (lower(first) == 's') {
            if (!segment) segment = SEG2D_new();
        }
        // Everything else, the double quote and "=" included, is skipped.
    }
};

}  // namespace

LIST* OBJ2D_parse(const char* text)
{
    if (!text) {
        REPORT_raise(obj2d_errors);
        return nullptr;
    }
    Parser parser{text};
    parser.result = LIST_new();
    if (!parser.result) {
        REPORT_raise(obj2d_errors);
        return nullptr;
    }
    while (parser.next()) parser.act();
    // A block still open at the end is not part of the set, nor is a half-read segment.
    if (parser.open) OBJ2D_free(&parser.open);
    if (parser.segment) SEG2D_free(&parser.segment);
    return parser.result;
}
