// The built-in images as Windows icons: decoded once at start-up, destroyed at shut-down.
#include "ui/win32/icons_win32.h"

#include <vector>

#include "ui/icon_file.h"
#include "ui/icons.h"
#include "ui/win32/icon_decode.h"

namespace mz {

namespace {

HICON images[3] = {};

}  // namespace

HICON decodeIconFile(const std::uint8_t* data, std::size_t size) {
    IconImage image;
    if (!chooseIconImage(data, size, image)) return nullptr;
    // The creation functions take the image data alone, in a buffer of its own.
    std::vector<BYTE> buffer(data + image.offset, data + image.offset + image.size);
    const DWORD bytes = static_cast<DWORD>(buffer.size());
    // The header's own size, so the icon is not scaled to the system's icon size.
    HICON icon = CreateIconFromResourceEx(buffer.data(), bytes, TRUE, 0x30000, image.headerWidth,
                                          image.headerHeight / 2, LR_DEFAULTCOLOR);
    if (!icon && image.bitCount != 16) icon = CreateIconFromResource(buffer.data(), bytes, TRUE, 0x30000);
    if (!icon) return nullptr;
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) {
        DestroyIcon(icon);
        return nullptr;
    }
    // GetIconInfo hands out copies of the bitmaps; they are not needed.
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return icon;
}

void loadBuiltInImages() {
    for (int n = 1; n <= 3; ++n) {
        if (images[n - 1]) continue;
        const IconFile& file = builtInIconFile(n);
        images[n - 1] = decodeIconFile(file.data(), file.size());
    }
}

bool builtInImageLoaded(int n) {
    return builtInIcon(n) != nullptr;
}

HICON builtInIcon(int n) {
    return n >= 1 && n <= 3 ? images[n - 1] : nullptr;
}

void releaseBuiltInImages() {
    for (HICON& icon : images) {
        if (icon) DestroyIcon(icon);
        icon = nullptr;
    }
}

}  // namespace mz
