// The built-in icons under Wine, and the program file's own resources: icon group, version, manifest.
#include <gtest/gtest.h>

#include <cwctype>
#include <set>
#include <string>
#include <vector>

#include "ui/icons.h"
#include "ui/win32/icon_decode.h"
#include "ui/win32/icons_win32.h"

namespace mz {
namespace {

constexpr WORD English = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

struct BitmapSize {
    LONG width = 0, height = 0;
};

BitmapSize bitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return {};
    return {info.bmWidth, info.bmHeight};
}

// The icon drawn on a background of colour back: one 0x00RRGGBB value per pixel, top row first.
std::vector<std::uint32_t> drawOn(HICON icon, COLORREF back) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 47;
    bi.bmiHeader.biHeight = -37;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP target = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<std::uint32_t> pixels;
    if (target) {
        HGDIOBJ old = SelectObject(dc, target);
        HBRUSH brush = CreateSolidBrush(back);
        RECT all{0, 0, 47, 37};
        FillRect(dc, &all, brush);
        DeleteObject(brush);
        if (DrawIconEx(dc, 0, 0, icon, 47, 37, 0, nullptr, DI_NORMAL)) {
            GdiFlush();
            const auto* p = static_cast<const std::uint32_t*>(bits);
            for (int i = 0; i < 47 * 37; ++i) pixels.push_back(p[i] & 0xFFFFFF);
        }
        SelectObject(dc, old);
        DeleteObject(target);
    }
    DeleteDC(dc);
    return pixels;
}

bool opaqueInFile(const IconFile& file, int x, int topRow) {
    const int row = 36 - topRow;
    return !((file[5390 + row * 8 + x / 8] >> (7 - x % 8)) & 1);
}

class Win32Icons : public testing::Test {
  protected:
    void SetUp() override { loadBuiltInImages(); }
    void TearDown() override { releaseBuiltInImages(); }
};

TEST_F(Win32Icons, ThreeDistinctIconsOfTheirOwnSize) {
    std::set<HICON> seen;
    for (int n = 1; n <= 3; ++n) {
        SCOPED_TRACE(n);
        HICON icon = builtInIcon(n);
        ASSERT_NE(icon, nullptr);
        EXPECT_TRUE(builtInImageLoaded(n));
        seen.insert(icon);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info)) << GetLastError();
        EXPECT_TRUE(info.fIcon);
        const BitmapSize colour = bitmapSize(info.hbmColor), mask = bitmapSize(info.hbmMask);
        EXPECT_EQ(colour.width, 47);
        EXPECT_EQ(colour.height, 37);
        EXPECT_EQ(mask.width, 47);
        EXPECT_EQ(mask.height, 37);
        if (info.hbmColor) DeleteObject(info.hbmColor);
        if (info.hbmMask) DeleteObject(info.hbmMask);
    }
    EXPECT_EQ(seen.size(), 3u);
    for (int n : {0, 4, -1}) {
        EXPECT_EQ(builtInIcon(n), nullptr) << n;
        EXPECT_FALSE(builtInImageLoaded(n)) << n;
    }
}

TEST_F(Win32Icons, MonogramInItsColourAndTheBackgroundShowsThrough) {
    struct Case {
        int n;
        std::uint32_t rgb;
    };
    const Case cases[] = {{1, 0xFF0000}, {2, 0x009300}, {3, 0x0000FF}};
    const COLORREF back = RGB(0x12, 0x34, 0x56);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        const std::vector<std::uint32_t> pixels = drawOn(builtInIcon(c.n), back);
        ASSERT_EQ(pixels.size(), 47u * 37u);
        int opaque = 0, wrong = 0;
        for (int y = 0; y < 37; ++y) {
            for (int x = 0; x < 47; ++x) {
                const bool solid = opaqueInFile(builtInIconFile(c.n), x, y);
                opaque += solid;
                wrong += pixels[y * 47 + x] != (solid ? c.rgb : 0x123456u);
            }
        }
        EXPECT_EQ(opaque, 364);
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(Win32Icons, ReleasedImagesAreGone) {
    HICON first = builtInIcon(1);
    ASSERT_NE(first, nullptr);
    releaseBuiltInImages();
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(builtInIcon(n), nullptr);
        EXPECT_FALSE(builtInImageLoaded(n));
    }
    ICONINFO info{};
    EXPECT_FALSE(GetIconInfo(first, &info)) << "the icon was not destroyed";
}

TEST(Win32IconDecode, ChosenEntryOfAFileWithTwo) {
    // Two 47 x 37 entries: the first, 8-bit, points at bytes that are no image; the second, 24-bit, wins.
    const IconFile& red = builtInIconFile(1);
    std::vector<std::uint8_t> file(red.begin(), red.begin() + 6);
    file[4] = 2;
    const std::size_t junkAt = 6 + 32, imageAt = junkAt + 64;
    std::vector<std::uint8_t> first(red.begin() + 6, red.begin() + 22), second = first;
    first[6] = 8;
    first[8] = 64, first[9] = first[10] = first[11] = 0;
    first[12] = static_cast<std::uint8_t>(junkAt), first[13] = first[14] = first[15] = 0;
    second[12] = static_cast<std::uint8_t>(imageAt), second[13] = static_cast<std::uint8_t>(imageAt >> 8);
    file.insert(file.end(), first.begin(), first.end());
    file.insert(file.end(), second.begin(), second.end());
    file.resize(imageAt, 0xEE);
    file.insert(file.end(), red.begin() + 22, red.end());

    HICON icon = decodeIconFile(file.data(), file.size());
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    EXPECT_EQ(bitmapSize(info.hbmColor).width, 47);
    EXPECT_EQ(bitmapSize(info.hbmColor).height, 37);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    const std::vector<std::uint32_t> pixels = drawOn(icon, RGB(0, 0, 0));
    ASSERT_EQ(pixels.size(), 47u * 37u);
    EXPECT_EQ(pixels[29 * 47 + 20], 0xFF0000u) << "the bar under the letters";
    DestroyIcon(icon);
}

TEST(Win32IconDecode, UndecodableBytesGiveNoIcon) {
    std::vector<std::uint8_t> file(builtInIconFile(2).begin(), builtInIconFile(2).end());
    // The image's data replaced by noise: both creation functions refuse it.
    std::fill(file.begin() + 22, file.end(), 0xA5);
    EXPECT_EQ(decodeIconFile(file.data(), file.size()), nullptr);
    std::vector<std::uint8_t> cursor(builtInIconFile(2).begin(), builtInIconFile(2).end());
    cursor[2] = 2;
    EXPECT_EQ(decodeIconFile(cursor.data(), cursor.size()), nullptr);
    EXPECT_EQ(decodeIconFile(nullptr, 0), nullptr);
}

std::vector<std::uint8_t> ownResource(LPCWSTR type, int id) {
    HRSRC found = FindResourceExW(nullptr, type, MAKEINTRESOURCEW(id), English);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(nullptr, found);
    const auto* data = static_cast<const std::uint8_t*>(LockResource(loaded));
    return data ? std::vector<std::uint8_t>(data, data + SizeofResource(nullptr, found))
                : std::vector<std::uint8_t>();
}

TEST(Win32Resources, IconGroupOneHoldsImageOne) {
    const IconFile& red = builtInIconFile(1);
    const std::vector<std::uint8_t> group = ownResource(RT_GROUP_ICON, 1);
    // The icon file's header and directory entry, with the entry's file offset replaced by icon resource 1.
    std::vector<std::uint8_t> expected(red.begin(), red.begin() + 18);
    expected.push_back(1);
    expected.push_back(0);
    EXPECT_EQ(group, expected);
    const std::vector<std::uint8_t> icon = ownResource(RT_ICON, 1);
    ASSERT_EQ(icon.size(), 5664u);
    EXPECT_TRUE(std::equal(icon.begin(), icon.end(), red.begin() + 22));
    EXPECT_NE(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1)), nullptr);
}

// version.dll's functions, loaded here so the test program needs no further import library.
struct VersionApi {
    HMODULE dll = LoadLibraryW(L"version.dll");
    decltype(&GetFileVersionInfoSizeW) size =
        reinterpret_cast<decltype(&GetFileVersionInfoSizeW)>(GetProcAddress(dll, "GetFileVersionInfoSizeW"));
    decltype(&GetFileVersionInfoW) info =
        reinterpret_cast<decltype(&GetFileVersionInfoW)>(GetProcAddress(dll, "GetFileVersionInfoW"));
    decltype(&VerQueryValueW) query =
        reinterpret_cast<decltype(&VerQueryValueW)>(GetProcAddress(dll, "VerQueryValueW"));
    ~VersionApi() {
        if (dll) FreeLibrary(dll);
    }
};

TEST(Win32Resources, VersionInformation) {
    VersionApi api;
    ASSERT_TRUE(api.size && api.info && api.query);
    EXPECT_NE(FindResourceExW(nullptr, RT_VERSION, MAKEINTRESOURCEW(1), English), nullptr);
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    DWORD ignored = 0;
    const DWORD size = api.size(self, &ignored);
    ASSERT_GT(size, 0u) << GetLastError();
    std::vector<std::uint8_t> block(size);
    ASSERT_TRUE(api.info(self, 0, size, block.data()));

    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(api.query(block.data(), L"\\", &value, &length));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010003u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010003u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);

    ASSERT_TRUE(api.query(block.data(), L"\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(static_cast<const WORD*>(value)[0], 0x0407);
    EXPECT_EQ(static_cast<const WORD*>(value)[1], 1200);

    const std::wstring description =
        L"Auswahl diverser Phrasen/Zeichenfolgen zum schnellen Einf\u00fcgen in andere Programme \u00fcber "
        L"die "
        L"Zwischenablage.";
    const struct {
        const wchar_t* name;
        std::wstring text;
    } strings[] = {
        {L"ProductName", L"Merkzeile"},
        {L"ProductVersion", L"1.3"},
        {L"FileVersion", L"1.3"},
        {L"FileDescription", description},
        {L"PrivateBuild", description},
        {L"InternalName", L"Merkzeile.exe"},
        {L"OriginalFilename", L"Merkzeile.exe"},
        {L"CompanyName", L"Kelmarin"},
        {L"LegalCopyright", L"\u00a9 Kelmarin"},
    };
    for (const auto& s : strings) {
        const std::wstring path = std::wstring(L"\\StringFileInfo\\040704b0\\") + s.name;
        ASSERT_TRUE(api.query(block.data(), path.c_str(), &value, &length)) << s.name;
        EXPECT_TRUE(std::wstring(static_cast<const wchar_t*>(value)) == s.text) << s.name;
    }
}

TEST(Win32Resources, ManifestAsksForCommonControlsSix) {
    const std::vector<std::uint8_t> bytes = ownResource(RT_MANIFEST, 1);
    ASSERT_FALSE(bytes.empty());
    const std::string manifest(bytes.begin(), bytes.end());
    for (const char* part :
         {"name=\"Microsoft.Windows.Common-Controls\"", "version=\"6.0.0.0\"", "processorArchitecture=\"*\"",
          "publicKeyToken=\"6595b64144ccf1df\"", "language=\"*\""})
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
    EXPECT_EQ(manifest.find("dpiAware"), std::string::npos);
    EXPECT_EQ(manifest.find("dpiAwareness"), std::string::npos);

    // The loader has honoured it: the common controls in this process come from the side-by-side store
    // (Wine's copy there still reports major version 5 from DllGetVersion, so the path is what tells).
    HMODULE comctl = LoadLibraryW(L"comctl32.dll");
    ASSERT_NE(comctl, nullptr);
    wchar_t path[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(comctl, path, MAX_PATH), 0u);
    std::wstring lower = path;
    for (wchar_t& c : lower) c = static_cast<wchar_t>(towlower(c));
    EXPECT_NE(lower.find(L"microsoft.windows.common-controls_6595b64144ccf1df_6.0"), std::wstring::npos)
        << std::string(lower.begin(), lower.end());
    FreeLibrary(comctl);
}

}  // namespace
}  // namespace mz
