#include "MetafileBuilders.h"
#include <gtest/gtest.h>

using namespace kelpora;
using mftest::Emf;
using mftest::Wmf;

namespace {

std::shared_ptr<const mf::MetafileData> load(const std::vector<uint8_t>& b)
{
    return mf::loadMetafile(b.data(), b.size());
}

} // namespace

TEST(MetafileSize, RoundingHalvesAwayFromZero)
{
    EXPECT_EQ(mf::mulDivRound(5, 1, 2), 3);
    EXPECT_EQ(mf::mulDivRound(-5, 1, 2), -3);
    EXPECT_EQ(mf::mulDivRound(7, 1, 3), 2);
    EXPECT_EQ(mf::mulDivRound(-7, 1, -3), 2);
    EXPECT_EQ(mf::mulDivRound(123, 456, 0), 0);
    // The whole product is kept: 2^31 * 2^31 overflows 32 bits many times.
    EXPECT_EQ(mf::mulDivRound(int64_t(1) << 31, int64_t(1) << 31, int64_t(1) << 32), int64_t(1) << 30);
}

TEST(MetafileSize, HeldAndPixelSizesFollowTheHeaders)
{
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        int dpi;
        int mmW, mmH;
        QSize px;
    };
    const Case cases[] = {
        {"wmf inch 1440", Wmf(0, 0, 2880, 1440, 1440).bytes(), 96, 5080, 2540, QSize(192, 96)},
        {"wmf inch 1440 at 120 dpi", Wmf(0, 0, 2880, 1440, 1440).bytes(), 120, 5080, 2540, QSize(240, 120)},
        {"wmf offset box", Wmf(-100, -50, 100, 50, 1000).bytes(), 96, 508, 254, QSize(19, 10)},
        // N = 0 counts as 96 for the held size; pixels then come from the converted header.
        {"wmf inch 0", Wmf(0, 0, 96, 48, 0).bytes(), 120, 2540, 1270, QSize(96, 48)},
        // 2540 * 1000 / 25000 = 101.6
        {"emf", Emf(2540, 1270, 1000, 1000, 250, 250).bytes(), 96, 2540, 1270, QSize(102, 51)},
        // 150 * 1 / 100 = 1.5 rounds up.
        {"emf half", Emf(150, 250, 1, 1, 1, 1).bytes(), 96, 150, 250, QSize(2, 3)},
        {"emf zero device size", Emf(1000, 1000, 0, 0, 0, 0).bytes(), 96, 1000, 1000, QSize(0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto m = load(c.bytes);
        ASSERT_TRUE(m);
        EXPECT_EQ(m->mmWidth(), c.mmW);
        EXPECT_EQ(m->mmHeight(), c.mmH);
        EXPECT_EQ(mf::pixelSize(*m, c.dpi), c.px);
    }
}

TEST(MetafileLoad, DetectsByContentAndRefusesTheRest)
{
    auto wmf = load(Wmf(0, 0, 100, 100, 1440).bytes());
    ASSERT_TRUE(wmf);
    EXPECT_TRUE(wmf->fromWmf());
    EXPECT_EQ(wmf->wmfInch(), 1440);
    const auto& e = wmf->emfBytes();
    ASSERT_GT(e.size(), 100u);
    EXPECT_EQ(e[0], 1);
    EXPECT_EQ(std::string(e.begin() + 40, e.begin() + 44), " EMF");

    auto emf = load(Emf().bytes());
    ASSERT_TRUE(emf);
    EXPECT_FALSE(emf->fromWmf());
    EXPECT_EQ(emf->wmfInch(), 0);
    EXPECT_EQ(emf->header().deviceCx, 1000);
    EXPECT_EQ(emf->header().millimetersCx, 100);

    // Refusals.
    EXPECT_FALSE(load(Wmf(0, 0, 100, 100, 1440, false).bytes())) << "no placeable header";
    EXPECT_FALSE(load(Wmf(0, 0, 100, 100, 1440, true, false).bytes())) << "bad checksum";
    std::vector<uint8_t> noSig = Emf().bytes();
    noSig[41] = 'X';
    EXPECT_FALSE(load(noSig)) << "enhanced signature missing";
    std::vector<uint8_t> hundred = Emf().bytes();
    hundred.resize(100);
    EXPECT_FALSE(load(hundred)) << "a 100-byte enhanced metafile is too short";
    std::vector<uint8_t> badHeaderSize = Emf().bytes();
    badHeaderSize[4] = 0x40; // 64 < the 88-byte minimum header
    EXPECT_FALSE(load(badHeaderSize));
    std::vector<uint8_t> wrongWmfHeader = Wmf(0, 0, 10, 10, 96).bytes();
    wrongWmfHeader[24] = 7; // header size in words must be 9
    EXPECT_FALSE(load(wrongWmfHeader));
    EXPECT_FALSE(mf::loadMetafile(nullptr, 0));
    std::vector<uint8_t> text(200, 'a');
    EXPECT_FALSE(load(text));
}
