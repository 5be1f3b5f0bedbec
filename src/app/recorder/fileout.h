// FILEOUT: writes the recorder's output files (sound, pictures, the golden record) so that a file
// is either whole or absent.
// Depends on: the standard library only.
// NOTE: a file is written as PATH.part and renamed to PATH only once it is complete; a failed
// write removes PATH.part and leaves an existing PATH as it was. Sizes are in bytes; the caller
// keeps its buffer, and the open file handed to a filler is FILEOUT's, closed after it returns.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

// Writes the whole content of a file into the open file it is given; false when it cannot.
using FileFiller = std::function<bool(std::FILE* file)>;

// Makes path from what fill writes into it; false (with a reason in *error, the failure named
// "PATH: cannot write " + what) when the file cannot be made or fill fails.
bool FILEOUT_fill(const std::string& path, const char* what, const FileFiller& fill, std::string* error);
// Writes size bytes as they are (none makes an empty file); false (with a reason in *error) when
// it cannot.
bool FILEOUT_write(const std::string& path, const uint8_t* bytes, std::size_t size, std::string* error);
