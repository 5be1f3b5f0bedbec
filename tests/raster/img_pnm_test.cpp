// PNM decoding: pictures written by netpbm and ImageMagick, the plain and raw kinds, and data that
// is cut short or makes no sense. Every decode reads from a block of exactly the data's size, so
// the sanitizers catch any read past its end.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "raster/img.h"

namespace {

using Bytes = std::vector<unsigned char>;

// Decodes from a heap block holding exactly the given bytes.
Image* decode(const Bytes& bytes)
{
    auto block = std::make_unique<unsigned char[]>(bytes.size());
    if (!bytes.empty()) std::memcpy(block.get(), bytes.data(), bytes.size());
    return IMG_decode_pnm(block.get(), bytes.size());
}

Image* decode(const std::string& text) { return decode(Bytes(text.begin(), text.end())); }

std::vector<uint32_t> pixels_of(const Image* image)
{
    return {image->pixels.get(), image->pixels.get() + static_cast<std::size_t>(image->width) * image->height};
}

bool have(const char* tool)
{
    const std::string command = std::string("command -v ") + tool + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

Bytes run(const std::string& command)
{
    Bytes out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    unsigned char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.insert(out.end(), buffer, buffer + n);
    pclose(pipe);
    return out;
}

// What an independent reader makes of a picture: netpbm's own plain rendering, read here.
struct Reference {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;  // in the decoder's mapping: set bit white, no maxval scaling
};

Reference read_plain(const Bytes& text)
{
    std::size_t i = 0;
    auto skip = [&] {
        while (i < text.size()) {
            if (text[i] == '#') {
                while (i < text.size() && text[i] != '\n') ++i;
            } else if (std::isspace(text[i])) {
                ++i;
            } else {
                break;
            }
        }
    };
    auto number = [&] {
        skip();
        uint32_t v = 0;
        while (i < text.size() && std::isdigit(text[i])) v = v * 10 + (text[i++] - '0');
        return v;
    };
    Reference r;
    if (text.size() < 2 || text[0] != 'P') return r;
    const char kind = static_cast<char>(text[1]);
    i = 2;
    const int w = static_cast<int>(number());
    r.height = static_cast<int>(number());
    if (kind != '1') number();  // maxval
    r.width = kind == '1' ? (w + 7) / 8 * 8 : w;
    r.pixels.assign(static_cast<std::size_t>(r.width) * r.height, 0);
    for (int row = 0; row < r.height; ++row) {
        for (int col = 0; col < w; ++col) {
            uint32_t& p = r.pixels[static_cast<std::size_t>(row) * r.width + col];
            if (kind == '1') {
                skip();
                p = text[i++] == '1' ? 0xFFFFFF : 0;
            } else if (kind == '2') {
                p = number() * 0x010101u;
            } else {
                const uint32_t red = number(), green = number(), blue = number();
                p = (red << 16) | (green << 8) | blue;
            }
        }
    }
    return r;
}

// Decodes what `command` writes and compares it with netpbm's plain reading of the same bytes.
void check_against_tools(const std::string& command, char expected_kind)
{
    SCOPED_TRACE(command);
    const Bytes file = run(command + " 2>/dev/null");
    ASSERT_GE(file.size(), 2u) << "the tool wrote nothing";
    ASSERT_EQ(expected_kind, static_cast<char>(file[1]));
    const Reference ref = read_plain(run(command + " 2>/dev/null | pnmtoplainpnm"));
    ASSERT_GT(ref.width, 0);
    Image* image = decode(file);
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(ref.width, image->width);
    EXPECT_EQ(ref.height, image->height);
    if (image->width == ref.width && image->height == ref.height) {
        EXPECT_EQ(ref.pixels, pixels_of(image));
    }
    IMG_free(&image);
}

TEST(PnmDecode, NetpbmPictures)
{
    if (!have("pgmramp") || !have("pnmtoplainpnm") || !have("pbmmake") || !have("ppmmake"))
        GTEST_SKIP() << "netpbm is not installed (pgmramp, pbmmake, ppmmake, pnmtoplainpnm)";
    check_against_tools("pgmramp -lr 7 3", '5');
    check_against_tools("pgmramp -maxval 15 -diagonal 6 5", '5');  // maxval 15 is not rescaled
    check_against_tools("pgmramp -ellipse 9 4 | pnmtoplainpnm", '2');
    check_against_tools("pbmmake -g 13 3", '4');  // 13 columns: the last byte holds 3 padding bits
    check_against_tools("pbmmake -g 13 3 | pnmtoplainpnm", '1');
    check_against_tools("pbmmake -g 16 2 | pnmtoplainpnm", '1');
    check_against_tools("pbmtext Ab", '4');
    check_against_tools("ppmmake rgb:12/34/56 3 2", '6');
    check_against_tools("ppmmake rgb:ff/00/80 5 1 | pnmtoplainpnm", '3');
}

TEST(PnmDecode, ImageMagickPictures)
{
    if (!have("convert") || !have("pnmtoplainpnm"))
        GTEST_SKIP() << "ImageMagick (convert) or netpbm (pnmtoplainpnm) is not installed";
    const std::string plasma = "convert -seed 3 -size 13x7 plasma: -depth 8 ";
    check_against_tools(plasma + "ppm:-", '6');
    check_against_tools(plasma + "-compress none ppm:-", '3');
    const std::string grey = "convert -size 9x5 gradient:gray10-gray90 -depth 8 -set comment 'a test ramp' ";
    check_against_tools(grey + "pgm:-", '5');  // with a comment line after the magic
    check_against_tools(grey + "-compress none pgm:-", '2');
    const std::string mono = "convert -seed 5 -size 21x6 plasma: -monochrome ";
    check_against_tools(mono + "pbm:-", '4');
    check_against_tools(mono + "-compress none pbm:-", '1');
    check_against_tools("convert -size 7x3 gradient: -depth 4 pgm:-", '5');  // maxval 15
    check_against_tools("convert -size 7x3 gradient: -depth 4 -compress none pgm:-", '2');
}

TEST(PnmDecode, WorkedExamples)
{
    Image* grey = decode(std::string("P5\n# made by hand\n2 1\n255\n") + std::string("\x00\xFF", 2));
    ASSERT_NE(nullptr, grey);
    EXPECT_EQ(2, grey->width);
    EXPECT_EQ(1, grey->height);
    EXPECT_EQ((std::vector<uint32_t>{0x000000, 0xFFFFFF}), pixels_of(grey));
    IMG_free(&grey);

    Image* colour = decode(std::string("P6\n1 1\n255\n\x12\x34\x56"));
    ASSERT_NE(nullptr, colour);
    EXPECT_EQ((std::vector<uint32_t>{0x123456}), pixels_of(colour));
    IMG_free(&colour);

    Image* bits = decode(std::string("P4\n12 2\n") + std::string("\xFF\xF0\x80\x00", 4));
    ASSERT_NE(nullptr, bits);
    ASSERT_EQ(16, bits->width);
    ASSERT_EQ(2, bits->height);
    for (int col = 0; col < 16; ++col) {
        EXPECT_EQ(col < 12 ? 0xFFFFFFu : 0u, IMG_get(bits, col, 0)) << "column " << col;
        EXPECT_EQ(col < 1 ? 0xFFFFFFu : 0u, IMG_get(bits, col, 1)) << "column " << col;
    }
    IMG_free(&bits);

    Image* plain_bits = decode(std::string("P1\n8 1\n0 1 0 1 1 1 1 0\n"));
    ASSERT_NE(nullptr, plain_bits);
    const uint32_t W = 0xFFFFFF;
    EXPECT_EQ((std::vector<uint32_t>{0, W, 0, W, W, W, W, 0}), pixels_of(plain_bits));
    IMG_free(&plain_bits);

    Image* plain_grey = decode(std::string("P2\n2 1\n15\n3 15\n"));
    ASSERT_NE(nullptr, plain_grey);
    EXPECT_EQ((std::vector<uint32_t>{0x030303, 0x0F0F0F}), pixels_of(plain_grey));
    IMG_free(&plain_grey);

    Image* spaced = decode(std::string("P2 # one\n# two\n  2\n# three\n\n1 #four\n 15\t\n3 15\n"));
    ASSERT_NE(nullptr, spaced);
    EXPECT_EQ((std::vector<uint32_t>{0x030303, 0x0F0F0F}), pixels_of(spaced));
    IMG_free(&spaced);
}

TEST(PnmDecode, RasterDetails)
{
    // Exactly one byte ends the header: a raster that starts with a space byte keeps it.
    Image* grey = decode(std::string("P5 2 1 255\n  "));
    ASSERT_NE(nullptr, grey);
    EXPECT_EQ((std::vector<uint32_t>{0x202020, 0x202020}), pixels_of(grey));
    IMG_free(&grey);

    // A plain bitmap 3 wide: each row holds its own 3 digits, the widening columns stay 0.
    Image* narrow = decode(std::string("P1\n3 2\n1 0 1\n011\n"));
    ASSERT_NE(nullptr, narrow);
    ASSERT_EQ(8, narrow->width);
    const uint32_t W = 0xFFFFFF;
    EXPECT_EQ((std::vector<uint32_t>{W, 0, W, 0, 0, 0, 0, 0, 0, W, W, 0, 0, 0, 0, 0}), pixels_of(narrow));
    IMG_free(&narrow);

    // Plain samples are not bounded: 256 green spills into red.
    Image* spill = decode(std::string("P3 1 1 255\n0 256 1\n"));
    ASSERT_NE(nullptr, spill);
    EXPECT_EQ(0x010001u, IMG_get(spill, 0, 0));
    IMG_free(&spill);
}

TEST(PnmDecode, RejectsWhatIsNoPicture)
{
    const long before = IMG_report().count;
    EXPECT_EQ(nullptr, IMG_decode_pnm(nullptr, 10));
    const char* bad[] = {
        "",                          // nothing at all
        "P7\n1 1\n255\n\x01",        // no such kind
        "P",                         // magic without its kind
        "P5\n0 4\n255\nxxxx",        // zero width
        "P5\n4 0\n255\nxxxx",        // zero height
        "P4\n0 1\n\xFF",             // zero width stays zero when widened
        "P5\n2 1\n255",              // no byte ends the header
        "P5\n# a comment that never ends",
        "5 5 255\n0123456789",       // no magic: the header never completes
        "P5\nab\n",                  // letters read as zero sizes
        "P5 100000 100000 255\n\x01",            // more pixels than any picture may have
        "P5 99999999999999999999999 1 255\n\x01",  // a width beyond every integer type
        "P5 65536 65536 255\n\x01",              // width * height overflows 32 bits
    };
    for (const char* text : bad) EXPECT_EQ(nullptr, decode(std::string(text))) << "input: " << text;
    EXPECT_GT(IMG_report().count, before);
}

// Every way of cutting a raw picture short gives null; plain pictures cut short never crash.
TEST(PnmDecode, TruncatedData)
{
    const std::string raw[] = {
        std::string("P5\n# c\n3 2\n255\n") + std::string("\x01\x02\x03\x04\x05\x06"),
        std::string("P6\n2 1\n255\n") + std::string("\x01\x02\x03\x04\x05\x06"),
        std::string("P4\n12 2\n\xFF\xF0\x80\x01"),
    };
    for (const std::string& full : raw) {
        Image* whole = decode(full);
        ASSERT_NE(nullptr, whole) << full;
        IMG_free(&whole);
        for (std::size_t n = 0; n < full.size(); ++n)
            EXPECT_EQ(nullptr, decode(full.substr(0, n))) << "cut after " << n << " bytes of " << full;
    }
    const std::string plain[] = {"P1\n5 2\n1 0 1 1 0\n0 1 0 0 1\n", "P2\n3 1\n255\n10 200 30\n",
                                 "P3\n2 1\n255\n1 2 3 40 50 60\n"};
    for (const std::string& full : plain) {
        for (std::size_t n = 0; n < full.size(); ++n) {
            Image* image = decode(full.substr(0, n));
            if (image) IMG_free(&image);
        }
        // Cut before the last sample starts, the picture is incomplete.
        std::size_t start = full.find_last_of("0123456789");
        while (start > 0 && std::isdigit(static_cast<unsigned char>(full[start - 1]))) --start;
        EXPECT_EQ(nullptr, decode(full.substr(0, start))) << full.substr(0, start);
    }
}

TEST(PnmDecode, GarbageNeverCrashes)
{
    std::mt19937 rng(7);
    const char kinds[] = "1234567";
    for (int round = 0; round < 3000; ++round) {
        std::string text = "P";
        text += kinds[rng() % 7];
        const std::size_t n = rng() % 40;
        for (std::size_t i = 0; i < n; ++i) {
            // Mostly header-like bytes, so that many inputs get as far as the raster.
            const unsigned r = rng() % 10;
            text += r < 4 ? static_cast<char>('0' + rng() % 10) : r < 7 ? ' ' : r < 8 ? '#' : static_cast<char>(rng());
        }
        Image* image = decode(text);
        if (image) {
            EXPECT_GT(image->width, 0);
            EXPECT_GT(image->height, 0);
            IMG_free(&image);
        }
    }
}

}  // namespace
