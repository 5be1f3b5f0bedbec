#include "app/recorder/fileout.h"

#include <cerrno>
#include <cstring>

bool FILEOUT_fill(const std::string& path, const char* what, const FileFiller& fill, std::string* error)
{
    const std::string temp = path + ".part";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) {
        if (error) *error = temp + ": " + std::strerror(errno);
        return false;
    }
    bool ok = fill && fill(f);
    // A full disk may show only when the last buffered bytes go out.
    if (std::fclose(f) != 0) ok = false;
    if (ok && std::rename(temp.c_str(), path.c_str()) != 0) ok = false;
    if (!ok) {
        std::remove(temp.c_str());
        if (error) *error = path + ": cannot write " + (what ? what : "the file");
    }
    return ok;
}

bool FILEOUT_write(const std::string& path, const uint8_t* bytes, std::size_t size, std::string* error)
{
    return FILEOUT_fill(
        path, "the file",
        [&](std::FILE* f) {
            // fwrite must not be given a null buffer, even for nothing.
            return size == 0 || (bytes && std::fwrite(bytes, 1, size, f) == size);
        },
        error);
}
