// Reads the dialog templates, the menu and the icon group back out of this program's own module
// (it links the compiled resource script) and checks them field by field, then lets the dialog
// manager build each dialog to see that Windows reads them the same way.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "res/resource.h"

namespace {

const WORD kAustralianEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_AUS);

struct Blob {
    const BYTE* data = nullptr;
    size_t size = 0;
};

Blob FindOwnResource(LPCSTR type, UINT id) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceExA(module, type, MAKEINTRESOURCEA(id), kAustralianEnglish);
    if (found == nullptr) {
        return {};
    }
    HGLOBAL loaded = LoadResource(module, found);
    return {static_cast<const BYTE*>(LockResource(loaded)), SizeofResource(module, found)};
}

// Little-endian reader over one resource; reading past the end sets `overrun` and yields zeros.
class Reader {
  public:
    explicit Reader(Blob blob) : blob_(blob) {}

    size_t Remaining() const { return overrun_ ? 0 : blob_.size - offset_; }
    bool Overrun() const { return overrun_; }
    void AlignDword() { offset_ = (offset_ + 3) & ~size_t{3}; }

    DWORD Read(size_t bytes) {  // at most 4
        DWORD value = 0;
        if (overrun_ || offset_ + bytes > blob_.size) {
            overrun_ = true;
            return 0;
        }
        for (size_t i = 0; i < bytes; ++i) {
            value |= DWORD{blob_.data[offset_++]} << (8 * i);
        }
        return value;
    }
    WORD Word() { return static_cast<WORD>(Read(2)); }
    short Short() { return static_cast<short>(Read(2)); }
    DWORD Dword() { return Read(4); }
    void Skip(size_t bytes) { overrun_ |= (offset_ += bytes) > blob_.size; }

    std::string Text() {
        std::string text;
        for (WORD c = Word(); c != 0 && !overrun_; c = Word()) {
            text += c < 0x80 ? static_cast<char>(c) : '?';
        }
        return text;
    }

    // A name-or-ordinal field: ordinals come back as "#N", the predefined classes by name.
    std::string NameOrOrdinal() {
        size_t start = offset_;
        if (Word() != 0xFFFF) {
            offset_ = start;
            return Text();
        }
        WORD ordinal = Word();
        static const char* const kClasses[] = {"BUTTON", "EDIT", "STATIC"};
        if (ordinal >= 0x80 && ordinal < 0x80 + std::size(kClasses)) {
            return kClasses[ordinal - 0x80];
        }
        return "#" + std::to_string(ordinal);
    }

  private:
    Blob blob_;
    size_t offset_ = 0;
    bool overrun_ = false;
};

struct Control {
    DWORD id;  // as stored: 16 bits in a classic template, 32 in an extended one
    std::string cls;
    std::string text;
    short x, y, cx, cy;
    DWORD style;
    DWORD exStyle = 0;
    DWORD helpId = 0;
    WORD creationBytes = 0;
};

struct Dialog {
    bool extended = false;
    DWORD style = 0, exStyle = 0, helpId = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::string menu, cls, title, face;
    WORD pointSize = 0, weight = 0;
    BYTE italic = 0, charset = 0;
    std::vector<Control> controls;
    bool wellFormed = false;
};

Dialog ParseDialog(Blob blob) {
    Dialog d;
    Reader in(blob);
    d.extended = blob.size >= 4 && in.Word() == 1 && in.Word() == 0xFFFF;
    if (d.extended) {
        d.helpId = in.Dword();
        d.exStyle = in.Dword();
        d.style = in.Dword();
    } else {
        in = Reader(blob);
        d.style = in.Dword();
        d.exStyle = in.Dword();
    }
    WORD count = in.Word();
    d.x = in.Short(), d.y = in.Short(), d.cx = in.Short(), d.cy = in.Short();
    d.menu = in.NameOrOrdinal();
    d.cls = in.NameOrOrdinal();
    d.title = in.Text();
    if (d.style & DS_SETFONT) {
        d.pointSize = in.Word();
        if (d.extended) {
            d.weight = in.Word();
            d.italic = static_cast<BYTE>(in.Read(1));
            d.charset = static_cast<BYTE>(in.Read(1));
        }
        d.face = in.Text();
    }
    for (WORD i = 0; i < count && !in.Overrun(); ++i) {
        in.AlignDword();
        Control c{};
        if (d.extended) {
            c.helpId = in.Dword();
            c.exStyle = in.Dword();
            c.style = in.Dword();
        } else {
            c.style = in.Dword();
            c.exStyle = in.Dword();
        }
        c.x = in.Short(), c.y = in.Short(), c.cx = in.Short(), c.cy = in.Short();
        c.id = d.extended ? in.Dword() : in.Word();
        c.cls = in.NameOrOrdinal();
        c.text = in.NameOrOrdinal();
        c.creationBytes = in.Word();
        in.Skip(c.creationBytes);
        d.controls.push_back(c);
    }
    // Resource data is padded to a DWORD boundary; anything beyond that is a stray item.
    d.wellFormed = !in.Overrun() && in.Remaining() < 4;
    return d;
}

// Control styles, each including WS_CHILD | WS_VISIBLE.
const DWORD kGroup = 0x50000007, kEdit = 0x50810080, kEditReadOnly = 0x50810880,
            kButton = 0x50010000, kButtonNoTab = 0x50000000, kLeft = 0x50000000,
            kRight = 0x50000002, kIcon = 0x50000003, kLeftGroup = 0x50020000, kTerms = 0x50A10844;
const DWORD kNone = static_cast<DWORD>(IDC_STATIC);
const char kAnyText[] = "*";  // the credit lines: any text but an empty one

struct ExpectedControl {
    DWORD id;
    const char* cls;
    const char* text;
    short x, y, cx, cy;
    DWORD style;
};

const ExpectedControl kNormalControls[] = {
    {kNone, "BUTTON", "Your Colour (in HEX)", 7, 37, 88, 60, kGroup},
    {kNone, "BUTTON", "Swatch File", 7, 2, 186, 28, kGroup},
    {IDC_SWATCH_PATH, "EDIT", "", 13, 12, 136, 12, kEdit},
    {IDC_USER_HEX, "EDIT", "", 13, 47, 38, 12, kEdit},
    {IDC_COLOURS, "BUTTON", "Colours", 56, 46, 33, 14, kButton},
    {IDC_BROWSE, "BUTTON", "Browse", 153, 11, 34, 14, kButton},
    {IDC_USER_SAMPLE, "STATIC", "UCol", 13, 65, 74, 15, kLeft},
    {IDC_MATCH_SAMPLE, "STATIC", "SCol", 111, 65, 74, 15, kLeft},
    {IDC_MATCH_HEX, "EDIT", "", 111, 47, 75, 12, kEditReadOnly},
    {IDC_USER_RED, "STATIC", "000", 23, 83, 13, 8, kLeft},
    {IDC_USER_GREEN, "STATIC", "000", 49, 83, 13, 8, kLeft},
    {IDC_USER_BLUE, "STATIC", "000", 75, 83, 13, 8, kLeft},
    {kNone, "BUTTON", "Tintwell", 105, 37, 88, 60, kGroup},
    {IDC_USER_BLUE_CHIP, "STATIC", "", 65, 83, 8, 8, kLeft},
    {IDC_USER_GREEN_CHIP, "STATIC", "", 39, 83, 8, 8, kLeft},
    {IDC_USER_RED_CHIP, "STATIC", "", 13, 83, 8, 8, kLeft},
    {IDC_MATCH_RED, "STATIC", "000", 121, 83, 13, 8, kLeft},
    {IDC_MATCH_GREEN, "STATIC", "000", 147, 83, 13, 8, kLeft},
    {IDC_MATCH_BLUE, "STATIC", "255", 173, 83, 13, 8, kLeft},
    {IDC_MATCH_BLUE_CHIP, "STATIC", "", 163, 83, 8, 8, kLeft},
    {IDC_MATCH_GREEN_CHIP, "STATIC", "", 137, 83, 8, 8, kLeft},
    {IDC_MATCH_RED_CHIP, "STATIC", "", 111, 83, 8, 8, kLeft},
};

const ExpectedControl kCompactControls[] = {
    {IDC_USER_HEX, "EDIT", "", 3, 3, 31, 12, kEdit},
    {IDC_COLOURS, "BUTTON", "Cols", 37, 2, 19, 14, kButtonNoTab},
    {IDC_USER_SAMPLE, "STATIC", "UCol", 3, 21, 27, 24, kLeft},
    {IDC_USER_RED, "STATIC", "000", 43, 21, 13, 8, kRight},
    {IDC_USER_GREEN, "STATIC", "000", 43, 29, 13, 8, kRight},
    {IDC_USER_BLUE, "STATIC", "000", 43, 37, 13, 8, kRight},
    {IDC_USER_BLUE_CHIP, "STATIC", "", 34, 37, 8, 8, kLeft},
    {IDC_USER_GREEN_CHIP, "STATIC", "", 34, 29, 8, 8, kLeft},
    {IDC_USER_RED_CHIP, "STATIC", "", 34, 21, 8, 8, kLeft},
    {IDC_MATCH_SAMPLE, "STATIC", "SCol", 3, 50, 27, 24, kLeft},
    {IDC_MATCH_HEX, "EDIT", "", 3, 78, 31, 12, kEditReadOnly},
    {IDC_MATCH_RED, "STATIC", "000", 43, 50, 13, 8, kRight},
    {IDC_MATCH_GREEN, "STATIC", "000", 43, 58, 13, 8, kRight},
    {IDC_MATCH_BLUE, "STATIC", "255", 43, 66, 13, 8, kRight},
    {IDC_MATCH_BLUE_CHIP, "STATIC", "", 34, 66, 8, 8, kLeft},
    {IDC_MATCH_GREEN_CHIP, "STATIC", "", 34, 58, 8, 8, kLeft},
    {IDC_MATCH_RED_CHIP, "STATIC", "", 34, 50, 8, 8, kLeft},
};

const ExpectedControl kAboutControls[] = {
    {IDC_ABOUT_CLOSE, "BUTTON", "Close", 67, 94, 42, 14, kButton},
    {IDC_ABOUT_ICON, "STATIC", "#105", 146, 3, 21, 20, kIcon},
    {kNone, "STATIC", "Tintwell, version 1.1", 7, 7, 139, 9, kLeftGroup},
    {kNone, "STATIC", kAnyText, 7, 16, 139, 9, kLeftGroup},
    {IDC_ABOUT_TERMS, "EDIT", "", 7, 40, 158, 48, kTerms},
    {kNone, "STATIC", kAnyText, 7, 26, 139, 9, kLeftGroup},
};

const struct ExpectedDialog {
    UINT templateId;
    bool extended;
    DWORD style, exStyle;
    short cx, cy;
    const char* menu;
    const char* title;
    const ExpectedControl* controls;
    size_t controlCount;
} kDialogs[] = {
    {IDD_NORMAL, false, 0x80CA0040, 0, 200, 103, "#103", "Tintwell", kNormalControls,
     std::size(kNormalControls)},
    {IDD_COMPACT, true, 0x80C80040, WS_EX_TOOLWINDOW, 59, 94, "", "Tintwell", kCompactControls,
     std::size(kCompactControls)},
    {IDD_ABOUT, true, 0x80C80040, WS_EX_TOOLWINDOW, 176, 111, "", "About Tintwell", kAboutControls,
     std::size(kAboutControls)},
};

TEST(DialogTemplates, MatchTheLayoutFieldByField) {
    for (const ExpectedDialog& want : kDialogs) {
        SCOPED_TRACE("dialog " + std::to_string(want.templateId));
        Blob blob = FindOwnResource(RT_DIALOG, want.templateId);
        ASSERT_NE(blob.data, nullptr) << "no Australian English template";
        Dialog got = ParseDialog(blob);
        EXPECT_TRUE(got.wellFormed) << "template ends early or carries extra data";
        EXPECT_EQ(got.extended, want.extended);
        EXPECT_EQ(got.style, want.style);
        EXPECT_EQ(got.exStyle, want.exStyle);
        EXPECT_EQ(got.helpId, 0u);
        EXPECT_EQ(got.x, 0);
        EXPECT_EQ(got.y, 0);
        EXPECT_EQ(got.cx, want.cx);
        EXPECT_EQ(got.cy, want.cy);
        EXPECT_EQ(got.menu, want.menu);
        EXPECT_EQ(got.cls, "");
        EXPECT_EQ(got.title, want.title);
        EXPECT_EQ(got.pointSize, 8);
        EXPECT_EQ(got.face, "MS Sans Serif");
        if (want.extended) {
            EXPECT_EQ(got.weight, 0);
            EXPECT_EQ(got.italic, 0);
            EXPECT_EQ(got.charset, DEFAULT_CHARSET);
        }
        ASSERT_EQ(got.controls.size(), want.controlCount);
        for (size_t i = 0; i < want.controlCount; ++i) {
            const ExpectedControl& w = want.controls[i];
            const Control& g = got.controls[i];
            SCOPED_TRACE("control #" + std::to_string(i + 1));
            EXPECT_EQ(g.id, want.extended ? w.id : (w.id & 0xFFFF));
            EXPECT_EQ(g.cls, w.cls);
            if (w.text == kAnyText) {  // the same pointer, not just the same text
                EXPECT_FALSE(g.text.empty()) << "credit line left empty";
            } else {
                EXPECT_EQ(g.text, w.text);
            }
            EXPECT_EQ(g.x, w.x);
            EXPECT_EQ(g.y, w.y);
            EXPECT_EQ(g.cx, w.cx);
            EXPECT_EQ(g.cy, w.cy);
            EXPECT_EQ(g.style, w.style) << std::hex << g.style;
            EXPECT_EQ(g.exStyle, 0u);
            EXPECT_EQ(g.helpId, 0u);
            EXPECT_EQ(g.creationBytes, 0);
        }
    }
}

TEST(OptionsMenu, HasOnePopupWithTheCommandsInOrder) {
    Reader in(FindOwnResource(RT_MENU, IDR_OPTIONS_MENU));
    EXPECT_EQ(in.Word(), 0) << "not a classic menu template";
    EXPECT_EQ(in.Word(), 0);
    EXPECT_EQ(in.Word(), MF_POPUP | MF_END) << "\"&Options\" must be the only top-level item";
    EXPECT_EQ(in.Text(), "&Options");

    struct Item {
        WORD id;
        const char* text;
    };
    const Item want[] = {{IDM_SWATCH_FILE, "&Swatch File..."},
                         {IDM_SWITCH_VIEW, "Switch &View"},
                         {0, ""},
                         {IDM_ABOUT, "&About"},
                         {0, ""},
                         {IDM_EXIT, "E&xit"}};
    for (size_t i = 0; i < std::size(want); ++i) {
        SCOPED_TRACE("item #" + std::to_string(i + 1));
        WORD flags = in.Word();
        EXPECT_EQ(flags, i + 1 == std::size(want) ? MF_END : 0) << "checked, greyed or misplaced";
        EXPECT_EQ(in.Word(), want[i].id);
        EXPECT_EQ(in.Text(), want[i].text);
    }
    EXPECT_TRUE(!in.Overrun() && in.Remaining() < 4) << "items after \"E&xit\"";

    // The empty items must reach the program as separators.
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_OPTIONS_MENU));
    ASSERT_NE(menu, nullptr);
    HMENU popup = GetSubMenu(menu, 0);
    EXPECT_EQ(GetMenuItemCount(popup), 6);
    EXPECT_TRUE(GetMenuState(popup, 2, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_TRUE(GetMenuState(popup, 4, MF_BYPOSITION) & MF_SEPARATOR);
    DestroyMenu(menu);
}

// An icon directory: the group resource's entries end in a 16-bit image id, the file's in a
// 32-bit offset.
struct IconEntry {
    DWORD width, height, colours;
    WORD planes, bitCount;
    DWORD bytes, idOrOffset;
};

bool ReadIconDirectory(Blob blob, bool file, std::vector<IconEntry>& entries) {
    Reader in(blob);
    bool header = in.Word() == 0 && in.Word() == 1;
    for (WORD count = in.Word(); count > 0 && !in.Overrun(); --count) {
        IconEntry e;
        e.width = in.Read(1), e.height = in.Read(1), e.colours = in.Read(1), in.Read(1);
        e.planes = in.Word(), e.bitCount = in.Word(), e.bytes = in.Dword();
        e.idOrOffset = file ? in.Dword() : in.Word();
        entries.push_back(e);
    }
    return header && !in.Overrun();
}

const struct { DWORD size, bytes; } kIconImages[] = {{32, 744}, {16, 296}};

TEST(ProgramIcon, GroupHoldsTwoSixteenColourImagesThatWindowsAccepts) {
    std::vector<IconEntry> entries;
    ASSERT_TRUE(ReadIconDirectory(FindOwnResource(RT_GROUP_ICON, IDI_APP), false, entries));
    ASSERT_EQ(entries.size(), std::size(kIconImages));
    for (size_t i = 0; i < entries.size(); ++i) {
        const IconEntry& got = entries[i];
        DWORD size = kIconImages[i].size;
        SCOPED_TRACE(size);
        EXPECT_EQ(got.width, size);
        EXPECT_EQ(got.height, size);
        EXPECT_EQ(got.colours, 16u);
        EXPECT_EQ(got.planes, 1);
        EXPECT_EQ(got.bitCount, 4);
        EXPECT_EQ(got.bytes, kIconImages[i].bytes);

        Blob image = FindOwnResource(RT_ICON, got.idOrOffset);
        ASSERT_EQ(image.size, kIconImages[i].bytes);
        BITMAPINFOHEADER header;
        std::memcpy(&header, image.data, sizeof header);
        EXPECT_EQ(header.biSize, sizeof header);
        EXPECT_EQ(header.biWidth, static_cast<LONG>(size));
        EXPECT_EQ(header.biHeight, static_cast<LONG>(2 * size)) << "colour rows and mask rows";
        EXPECT_EQ(header.biPlanes, 1);
        EXPECT_EQ(header.biBitCount, 4);

        HICON icon = CreateIconFromResourceEx(const_cast<BYTE*>(image.data), image.size, TRUE,
                                              0x00030000, size, size, 0);
        EXPECT_NE(icon, nullptr);
        DestroyIcon(icon);
    }
}

// The program loads its window and tray icons from tintwell.ico: it must hold the same two
// pictures as the icon group inside the program.
TEST(ProgramIcon, FileHoldsTheSameImagesAsTheProgram) {
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string path = module;
    path = path.substr(0, path.find_last_of("\\/") + 1) + "tintwell.ico";
    std::ifstream file(path, std::ios::binary);
    ASSERT_TRUE(file) << path;
    std::vector<BYTE> bytes((std::istreambuf_iterator<char>(file)), {});

    std::vector<IconEntry> inFile, inGroup;
    ASSERT_TRUE(ReadIconDirectory({bytes.data(), bytes.size()}, true, inFile));
    ASSERT_TRUE(ReadIconDirectory(FindOwnResource(RT_GROUP_ICON, IDI_APP), false, inGroup));
    ASSERT_EQ(inFile.size(), inGroup.size());
    for (size_t i = 0; i < inFile.size(); ++i) {
        SCOPED_TRACE(inGroup[i].width);
        EXPECT_EQ(inFile[i].width, inGroup[i].width);
        Blob image = FindOwnResource(RT_ICON, inGroup[i].idOrOffset);
        ASSERT_EQ(inFile[i].bytes, image.size);
        ASSERT_LE(inFile[i].idOrOffset + image.size, bytes.size());
        EXPECT_EQ(std::memcmp(bytes.data() + inFile[i].idOrOffset, image.data, image.size), 0);

        int size = static_cast<int>(inGroup[i].width);
        HANDLE loaded = LoadImageA(nullptr, path.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE);
        EXPECT_NE(loaded, nullptr);
        DestroyIcon(static_cast<HICON>(loaded));
    }
}

INT_PTR CALLBACK QuietDialog(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// Builds each dialog through the dialog manager: a template it rejects, a menu it cannot load or
// an icon it cannot find shows up here, and so does a fixed text too wide for its field.
TEST(DialogTemplates, WindowsBuildsThemWithEveryTextFitting) {
    for (const ExpectedDialog& want : kDialogs) {
        SCOPED_TRACE("dialog " + std::to_string(want.templateId));
        HWND dialog = CreateDialogParamA(
            GetModuleHandleA(nullptr), MAKEINTRESOURCEA(want.templateId), nullptr, QuietDialog, 0);
        ASSERT_NE(dialog, nullptr);
        EXPECT_FALSE(IsWindowVisible(dialog)) << "templates must not carry WS_VISIBLE";
        EXPECT_EQ(GetMenu(dialog) != nullptr, want.templateId == IDD_NORMAL);

        HDC dc = GetDC(dialog);
        HGDIOBJ oldFont =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)));
        for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            char cls[16] = {}, text[64] = {};
            GetClassNameA(child, cls, sizeof cls);
            GetWindowTextA(child, text, sizeof text);
            bool isStatic = lstrcmpiA(cls, "Static") == 0;
            if (isStatic && (GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
                EXPECT_NE(SendMessageA(child, STM_GETICON, 0, 0), 0) << "no icon in the static";
                continue;
            }
            if (lstrcmpiA(cls, "Edit") == 0 || text[0] == '\0') {
                continue;
            }
            SIZE extent = {};
            GetTextExtentPoint32A(dc, text, lstrlenA(text), &extent);
            RECT field = {};
            GetClientRect(child, &field);
            EXPECT_LE(extent.cx, field.right) << '"' << text << "\" is clipped";
            EXPECT_LE(extent.cy, field.bottom) << '"' << text << "\" is clipped";
        }
        SelectObject(dc, oldFont);
        ReleaseDC(dialog, dc);
        DestroyWindow(dialog);
    }
}

}  // namespace
