#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tests/TestSupport.h"
#include "framework/File.h"
#include "report/Dib.h"

namespace {

template <typename T>
void Put(std::string& bytes, size_t at, T value)
{
    std::memcpy(&bytes[at], &value, sizeof value);
}

// A 24-bit 3 x 2 bitmap: rows of 9 bytes padded to 12, bottom row first.
std::string Bitmap24()
{
    std::string bytes(14 + 40 + 24, '\0');
    Put<WORD>(bytes, 0, 0x4D42);
    Put<DWORD>(bytes, 2, static_cast<DWORD>(bytes.size()));
    Put<DWORD>(bytes, 10, 54);
    Put<DWORD>(bytes, 14, 40);
    Put<LONG>(bytes, 18, 3);
    Put<LONG>(bytes, 22, 2);
    Put<WORD>(bytes, 26, 1);
    Put<WORD>(bytes, 28, 24);
    for (int row = 0; row < 2; ++row)
        for (int i = 0; i < 9; ++i)
            bytes[54 + row * 12 + i] = static_cast<char>(10 * row + i + 1);
    return bytes;
}

// An 8-bit 2 x 2 bitmap with a colour table of four entries.
std::string Bitmap8()
{
    std::string bytes(14 + 40 + 16 + 8, '\0');
    Put<WORD>(bytes, 0, 0x4D42);
    Put<DWORD>(bytes, 2, static_cast<DWORD>(bytes.size()));
    Put<DWORD>(bytes, 10, 14 + 40 + 16);
    Put<DWORD>(bytes, 14, 40);
    Put<LONG>(bytes, 18, 2);
    Put<LONG>(bytes, 22, 2);
    Put<WORD>(bytes, 26, 1);
    Put<WORD>(bytes, 28, 8);
    Put<DWORD>(bytes, 46, 4);   // biClrUsed
    Put<DWORD>(bytes, 54, 0x00FF0000);   // red
    Put<DWORD>(bytes, 58, 0x0000FF00);
    Put<DWORD>(bytes, 62, 0x000000FF);
    Put<DWORD>(bytes, 66, 0x00FFFFFF);
    bytes[70] = 0, bytes[71] = 1, bytes[74] = 2, bytes[75] = 3;
    return bytes;
}

class DibTest : public ::testing::Test {
protected:
    std::wstring m_folder = MakeTempFolder(L"DibTests");

    std::wstring Write(const wchar_t* pszName, const std::string& bytes)
    {
        const std::wstring path = m_folder + pszName;
        EXPECT_TRUE(WriteBytes(path, bytes));
        return path;
    }
    static BOOL Read(CDib& dib, const std::wstring& path)
    {
        CFile file;
        EXPECT_TRUE(file.Open(path.c_str(), CFile::modeRead | CFile::shareDenyWrite));
        return dib.ReadFromFile(&file);
    }
};

TEST_F(DibTest, ReadsTwentyFourBitAndPaletteBitmaps)
{
    CDib dib24;
    ASSERT_TRUE(Read(dib24, Write(L"a24.bmp", Bitmap24())));
    EXPECT_EQ(CSize(3, 2), dib24.GetImageSize());
    EXPECT_EQ(12, dib24.GetRowSize());
    EXPECT_EQ(24u, dib24.GetImageBytes());
    EXPECT_EQ(0, dib24.GetColourEntries());
    EXPECT_EQ(nullptr, dib24.GetPalette());
    EXPECT_EQ(0, std::memcmp(dib24.GetBits(), Bitmap24().data() + 54, 24));

    CDib dib8;
    ASSERT_TRUE(Read(dib8, Write(L"a8.bmp", Bitmap8())));
    EXPECT_EQ(4, dib8.GetColourEntries());
    EXPECT_EQ(0xFF, dib8.GetColourTable()[0].rgbRed);
    EXPECT_EQ(0xFF, dib8.GetColourTable()[2].rgbBlue);
    EXPECT_NE(nullptr, dib8.GetPalette());
    EXPECT_EQ(3, dib8.GetBits()[5]);

    // A second read replaces the first content.
    ASSERT_TRUE(Read(dib8, Write(L"b24.bmp", Bitmap24())));
    EXPECT_EQ(0, dib8.GetColourEntries());
    EXPECT_EQ(nullptr, dib8.GetPalette());
}

struct DamagedCase {
    const char* name;
    std::function<std::string()> make;
    const wchar_t* message;
};

TEST_F(DibTest, DamagedFilesAreRefusedBeforeAnythingIsAllocatedOrDrawn)
{
    const std::vector<DamagedCase> cases = {
        {"empty file", [] { return std::string(); }, L"read error 1"},
        {"shorter than the file header", [] { return Bitmap24().substr(0, 13); }, L"read error 1"},
        {"wrong signature", [] { auto b = Bitmap24(); b[0] = 'X'; return b; }, L"Invalid bitmap file"},
        {"truncated bits", [] { return Bitmap24().substr(0, 70); }, L"Invalid bitmap file"},
        {"bits offset past the end", [] { auto b = Bitmap24(); Put<DWORD>(b, 10, 5000); return b; },
         L"Invalid bitmap file"},
        {"bits offset inside the header", [] { auto b = Bitmap24(); Put<DWORD>(b, 10, 30); return b; },
         L"Invalid bitmap file"},
        {"header larger than the bits offset", [] { auto b = Bitmap24(); Put<DWORD>(b, 14, 124); return b; },
         L"Invalid bitmap file"},
        {"unknown header size", [] { auto b = Bitmap24(); Put<DWORD>(b, 14, 12); return b; }, L"Invalid bitmap file"},
        {"zero width", [] { auto b = Bitmap24(); Put<LONG>(b, 18, 0); return b; }, L"Invalid bitmap file"},
        {"negative width", [] { auto b = Bitmap24(); Put<LONG>(b, 18, -3); return b; }, L"Invalid bitmap file"},
        {"zero height", [] { auto b = Bitmap24(); Put<LONG>(b, 22, 0); return b; }, L"Invalid bitmap file"},
        {"two planes", [] { auto b = Bitmap24(); Put<WORD>(b, 26, 2); return b; }, L"Invalid bitmap file"},
        {"odd bit count", [] { auto b = Bitmap24(); Put<WORD>(b, 28, 7); return b; }, L"Invalid bitmap file"},
        {"unknown compression", [] { auto b = Bitmap24(); Put<DWORD>(b, 30, 9); return b; }, L"Invalid bitmap file"},
        {"huge size", [] { auto b = Bitmap24(); Put<LONG>(b, 18, 0x7FFFFFFF); Put<LONG>(b, 22, 0x7FFFFFFF); return b; },
         L"Invalid bitmap file"},
        {"colour table past the bits offset", [] { auto b = Bitmap8(); Put<DWORD>(b, 46, 0); return b; },
         L"Invalid bitmap file"},
        {"more colours than the bit count", [] { auto b = Bitmap8(); Put<DWORD>(b, 46, 300); return b; },
         L"Invalid bitmap file"},
        {"RLE8 image past the end", [] { auto b = Bitmap8(); Put<DWORD>(b, 30, BI_RLE8); Put<DWORD>(b, 34, 400); return b; },
         L"Invalid bitmap file"},
        {"RLE8 without image size", [] { auto b = Bitmap8(); Put<DWORD>(b, 30, BI_RLE8); return b; },
         L"Invalid bitmap file"},
        {"RLE4 on 8 bits", [] { auto b = Bitmap8(); Put<DWORD>(b, 30, BI_RLE4); Put<DWORD>(b, 34, 8); return b; },
         L"Invalid bitmap file"},
        {"bit fields on 24 bits", [] { auto b = Bitmap24(); Put<DWORD>(b, 30, BI_BITFIELDS); return b; },
         L"Invalid bitmap file"},
        {"bit-field masks past the bits offset",
         [] { auto b = Bitmap24(); Put<WORD>(b, 28, 32); Put<DWORD>(b, 30, BI_BITFIELDS); b.resize(54 + 24); return b; },
         L"Invalid bitmap file"},
    };
    for (const DamagedCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring path = Write(L"damaged.bmp", c.make());
        CDib dib;
        EXPECT_FALSE(Read(dib, path));
        EXPECT_STREQ(c.message, dib.GetLastError().GetString());
        EXPECT_EQ(nullptr, dib.GetHeader());
        EXPECT_EQ(nullptr, dib.GetBits());
        EXPECT_EQ(CSize(0, 0), dib.GetImageSize());

        CDib mapped;
        EXPECT_FALSE(mapped.MapBitmapFile(path.c_str(), TRUE));
        EXPECT_EQ(nullptr, mapped.GetHeader());
    }
}

TEST_F(DibTest, ThirtyTwoBitFieldsAndLargerHeadersAreAccepted)
{
    // 32 bits with masks after a 40-byte header.
    std::string b(14 + 40 + 12 + 8, '\0');
    Put<WORD>(b, 0, 0x4D42);
    Put<DWORD>(b, 10, 14 + 40 + 12);
    Put<DWORD>(b, 14, 40);
    Put<LONG>(b, 18, 2);
    Put<LONG>(b, 22, -1);   // top-down
    Put<WORD>(b, 26, 1);
    Put<WORD>(b, 28, 32);
    Put<DWORD>(b, 30, BI_BITFIELDS);
    Put<DWORD>(b, 54, 0xFF0000), Put<DWORD>(b, 58, 0xFF00), Put<DWORD>(b, 62, 0xFF);
    CDib dib;
    ASSERT_TRUE(Read(dib, Write(L"bf.bmp", b))) << dib.GetLastError().GetString();
    EXPECT_EQ(CSize(2, 1), dib.GetImageSize());
    EXPECT_EQ(8u, dib.GetImageBytes());

    // A 124-byte header before a 24-bit image.
    std::string v5 = Bitmap24();
    v5.insert(54, std::string(124 - 40, '\0'));
    Put<DWORD>(v5, 10, 14 + 124);
    Put<DWORD>(v5, 14, 124);
    ASSERT_TRUE(Read(dib, Write(L"v5.bmp", v5))) << dib.GetLastError().GetString();
    EXPECT_EQ(0, std::memcmp(dib.GetBits(), Bitmap24().data() + 54, 24));
}

TEST_F(DibTest, SavedBitmapReadsBackAndTheObjectShowsTheFile)
{
    CDib dib;
    ASSERT_TRUE(dib.AllocateImage(5, 3, 24));
    EXPECT_EQ(16, dib.GetRowSize());
    EXPECT_EQ(48u, dib.GetImageBytes());
    for (DWORD i = 0; i < dib.GetImageBytes(); ++i)
        dib.GetBits()[i] = static_cast<BYTE>(i * 7);
    const std::wstring path = m_folder + L"saved.bmp";
    ASSERT_TRUE(dib.SaveToBitmapFile(path.c_str()));
    EXPECT_EQ(CSize(5, 3), dib.GetImageSize());
    EXPECT_EQ(35, dib.GetBits()[5]);

    const std::string bytes = ReadBytes(path);
    ASSERT_EQ(14u + 40 + 48, bytes.size());
    EXPECT_EQ("BM", bytes.substr(0, 2));
    DWORD nOffset = 0;
    std::memcpy(&nOffset, bytes.data() + 10, 4);
    EXPECT_EQ(54u, nOffset);

    // The object's bits may change in memory without touching the file.
    dib.GetBits()[0] = 0xEE;
    EXPECT_EQ(bytes, ReadBytes(path));

    CDib back;
    ASSERT_TRUE(Read(back, path));
    ASSERT_EQ(48u, back.GetImageBytes());
    for (DWORD i = 0; i < 48; ++i)
        ASSERT_EQ(static_cast<BYTE>(i * 7), back.GetBits()[i]) << i;

    dib.Clear();   // lets the file go
    EXPECT_EQ(nullptr, dib.GetHeader());

    // A folder that does not exist: nothing written, failure reported.
    CDib other;
    ASSERT_TRUE(other.AllocateImage(2, 2, 8));
    EXPECT_FALSE(other.SaveToBitmapFile((m_folder + L"missing\\x.bmp").c_str()));
    EXPECT_NE(nullptr, other.GetBits());
}

TEST_F(DibTest, AllocationRefusesSizesItCannotHold)
{
    CDib dib;
    EXPECT_FALSE(dib.AllocateImage(0, 10, 24));
    EXPECT_FALSE(dib.AllocateImage(10, 0, 24));
    EXPECT_FALSE(dib.AllocateImage(10, 10, 7));
    EXPECT_FALSE(dib.AllocateImage(100000, 100000, 24));
    EXPECT_EQ(nullptr, dib.GetHeader());
    ASSERT_TRUE(dib.AllocateImage(1, 1, 1));
    EXPECT_EQ(4, dib.GetRowSize());
    EXPECT_EQ(2, dib.GetColourEntries());

    CDib empty(CSize(4, 4), 4);
    EXPECT_EQ(16, empty.GetColourEntries());
    EXPECT_EQ(nullptr, empty.GetBits());
    EXPECT_EQ(0, empty.GetColourTable()[15].rgbRed);
}

TEST_F(DibTest, SerializeWritesWhatItReads)
{
    CDib dib;
    ASSERT_TRUE(Read(dib, Write(L"s8.bmp", Bitmap8())));
    const std::wstring path = m_folder + L"stored.bmp";
    {
        CFile file;
        ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
        CArchive ar(&file, CArchive::store);
        dib.Serialize(ar);
    }
    EXPECT_EQ(Bitmap8().substr(10), ReadBytes(path).substr(10));
    CFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead));
    CArchive ar(&file, CArchive::load);
    CDib loaded;
    loaded.Serialize(ar);
    EXPECT_EQ(CSize(2, 2), loaded.GetImageSize());

    // A packed copy in memory attaches the same way; one cut short does not.
    const std::string packed = Bitmap8().substr(14);
    auto* pBlock = new BYTE[packed.size()];
    std::memcpy(pBlock, packed.data(), packed.size());
    CDib attached;
    ASSERT_TRUE(attached.AttachPackedDib(reinterpret_cast<BITMAPINFOHEADER*>(pBlock), packed.size(), TRUE, nullptr));
    EXPECT_EQ(3, attached.GetBits()[5]);
    std::string shortBlock = packed.substr(0, packed.size() - 2);
    CDib refused;
    EXPECT_FALSE(refused.AttachPackedDib(reinterpret_cast<BITMAPINFOHEADER*>(shortBlock.data()), shortBlock.size(),
                                         FALSE, nullptr));
}

}   // namespace
