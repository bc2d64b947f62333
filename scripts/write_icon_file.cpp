// Writes built-in image 1 as an icon file, the source of the program file's own icon resource.
#include <cstdio>

#include "ui/icons.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s out.ico\n", argv[0]);
        return 2;
    }
    const mz::IconFile& file = mz::builtInIconFile(1);
    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out) return 1;
    const bool ok = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && ok ? 0 : 1;
}
