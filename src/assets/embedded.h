// EMBEDDED: the pictures, fonts and line drawings built into the program.
// Depends on: nothing. The blocks are generated at build time from the files in this folder.
// NOTE: each block holds the file's bytes as they are, `size` of them, followed by one zero byte
// that is not counted, so that text blocks can also be read as zero-terminated strings.
#pragma once
#include <cstddef>

struct EmbeddedAsset {
    const char* name;           // file name, for example "logo.ppm"
    const unsigned char* data;  // size bytes, then a zero byte
    std::size_t size;
};

// All embedded files, ended by an entry whose name is null.
extern const EmbeddedAsset EMBEDDED_assets[];

// The embedded file of that name, or null when there is none.
const EmbeddedAsset* EMBEDDED_find(const char* name);
