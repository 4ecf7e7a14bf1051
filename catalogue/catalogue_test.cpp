#include "catalogue/catalogue.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using catalogue::FastenerKind;
using catalogue::SectionFamily;

TEST(CatalogueTest, SteelTypesInListOrder) {
    const auto types = catalogue::steelTypeTexts();
    ASSERT_EQ(types.size(), 14u);
    EXPECT_EQ(types[0], "钢板");
    EXPECT_EQ(types[4], "H型钢");
    EXPECT_EQ(types[6], "不等边角铁");
    EXPECT_EQ(types[9], "法兰");
    EXPECT_EQ(types[13], "开口销");
}

TEST(CatalogueTest, MaterialsAndDensities) {
    const auto grades = catalogue::materialGradeTexts();
    ASSERT_EQ(grades.size(), 4u);
    EXPECT_EQ(grades[catalogue::kDefaultMaterialGrade], "Q235-A");
    EXPECT_EQ(grades[3], "OCr18Ni11Ti");
    EXPECT_EQ(catalogue::density(0), 7.85);
    EXPECT_EQ(catalogue::density(2), 7.85);
    EXPECT_EQ(catalogue::density(3), 7.9);
    EXPECT_FALSE(catalogue::density(-1));
    EXPECT_FALSE(catalogue::density(4));

    const auto names = catalogue::plateAndPipeMaterialTexts();
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0], "碳素钢Q235");
    EXPECT_EQ(names[1], "不锈钢");
}

struct FamilyCase {
    SectionFamily family;
    std::size_t rows;
    std::string_view first;
    float firstMass;
    std::string_view last;
    float lastMass;
};

TEST(CatalogueTest, FamilyRowCountsAndEnds) {
    const FamilyCase cases[] = {
        {SectionFamily::Channel, 41, "5-----50x37x4.5x7.0", 5.438f, "30c---300x89x11.5x13.5",
         43.883f},
        {SectionFamily::IBeam, 45, "10----100x68x4.5x7.6", 11.261f, "55c---550x170x16.5x21.0",
         122.605f},
        {SectionFamily::HBeam, 84, "HW100x100x6x8", 17.2f, "HP502x470x20x35", 261.0f},
        {SectionFamily::EqualAngle, 82, "2-----20x3", 0.889f, "20----200x24", 71.168f},
        {SectionFamily::UnequalAngle, 65, "2.5/1.6---25x16x3", 0.912f, "20/12.5---200x125x18",
         43.588f},
    };
    for (const auto& c : cases) {
        const auto rows = catalogue::sections(c.family);
        ASSERT_EQ(rows.size(), c.rows) << c.first;
        EXPECT_EQ(rows.front().designation, c.first);
        EXPECT_EQ(rows.front().massPerMetre, c.firstMass);
        EXPECT_EQ(rows.back().designation, c.last);
        EXPECT_EQ(rows.back().massPerMetre, c.lastMass);
        const auto texts = catalogue::designationTexts(c.family);
        ASSERT_EQ(texts.size(), c.rows);
        for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(texts[i], rows[i].designation);
    }
}

struct RowCase {
    SectionFamily family;
    std::size_t index;
    std::string_view designation;
    float mass;
};

TEST(CatalogueTest, SampleRows) {
    const RowCase cases[] = {
        {SectionFamily::Channel, 4, "12.6----126x53x5.5x9.0", 12.318f},
        {SectionFamily::Channel, 10, "18----180x70x9.0x10.5", 23.0f},
        {SectionFamily::Channel, 15, "25a---250x78x7.0x12.0", 27.41f},
        {SectionFamily::Channel, 32, "24a---240x78x7x12", 26.88f},
        {SectionFamily::IBeam, 1, "12.6--126x74x5.0x8.4", 14.223f},
        {SectionFamily::IBeam, 31, "63a---630x176x13.0x22.0", 121.407f},
        {SectionFamily::HBeam, 10, "HW300x305x15x15", 106.0f},
        {SectionFamily::HBeam, 33, "HN100x50x5x7", 9.54f},
        {SectionFamily::HBeam, 45, "HN400x150x8x13#", 55.8f},
        {SectionFamily::HBeam, 69, "HP300x300x10x15", 94.5f},
        {SectionFamily::HBeam, 70, "HP300x305x15x15", 106.0f},
        {SectionFamily::EqualAngle, 18, "5-----50x5", 3.77f},
        {SectionFamily::EqualAngle, 44, "9-----90x6", 8.35f},
        {SectionFamily::UnequalAngle, 8, "5/3.2  ---50x32x3", 1.908f},
        {SectionFamily::UnequalAngle, 10, "5.6/3.6 --56x36x3", 2.153f},
        {SectionFamily::UnequalAngle, 14, "6.3/4-----63x40x5", 3.92f},
        {SectionFamily::UnequalAngle, 21, "7.5/5-----75x50x5*", 4.808f},
        {SectionFamily::UnequalAngle, 37, "10/8------100x80x6", 8.35f},
        {SectionFamily::UnequalAngle, 41, "11/7------110x70x6", 8.35f},
    };
    for (const auto& c : cases) {
        const auto rows = catalogue::sections(c.family);
        ASSERT_LT(c.index, rows.size());
        EXPECT_EQ(rows[c.index].designation, c.designation);
        EXPECT_EQ(rows[c.index].massPerMetre, c.mass) << c.designation;
    }
}

TEST(CatalogueTest, MassesAreSinglePrecision) {
    // 9.54 held in single precision is a little below 9.54; the H-beam weights depend on it.
    const float m = catalogue::sections(SectionFamily::HBeam)[33].massPerMetre;
    EXPECT_LT(static_cast<double>(m), 9.54);
}

TEST(CatalogueTest, FamilyOfType) {
    EXPECT_FALSE(catalogue::familyOfType(-1));
    EXPECT_FALSE(catalogue::familyOfType(1));
    EXPECT_EQ(catalogue::familyOfType(2), SectionFamily::Channel);
    EXPECT_EQ(catalogue::familyOfType(4), SectionFamily::HBeam);
    EXPECT_EQ(catalogue::familyOfType(6), SectionFamily::UnequalAngle);
    EXPECT_FALSE(catalogue::familyOfType(7));
    EXPECT_FALSE(catalogue::familyOfType(13));
}

struct FastenerCase {
    FastenerKind kind;
    double size;
    std::optional<double> value;
};

TEST(CatalogueTest, FastenerLookupIsExact) {
    const FastenerCase cases[] = {
        {FastenerKind::Bolt, 20, 0.289},
        {FastenerKind::Bolt, 20.0, 0.289},
        {FastenerKind::Bolt, 3, 0.005},
        {FastenerKind::Bolt, 64, 4.427},
        {FastenerKind::Bolt, 7, std::nullopt},
        {FastenerKind::Bolt, 20.5, std::nullopt},
        {FastenerKind::Bolt, 0, std::nullopt},
        {FastenerKind::Nut, 1.6, 0.05},
        {FastenerKind::Nut, 1.65, std::nullopt},
        {FastenerKind::Nut, 56, 1091},
        {FastenerKind::Nut, 64, 1053},
        {FastenerKind::Washer, 20, 16.22},
        {FastenerKind::Washer, 40, std::nullopt},
        {FastenerKind::Washer, 64, 492},
        {FastenerKind::CotterPin, 0.6, 0.0002},
        {FastenerKind::CotterPin, 4, 0.01},
        {FastenerKind::CotterPin, 6.3, 0.023},
        {FastenerKind::CotterPin, 7, std::nullopt},
        {FastenerKind::CotterPin, 16, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(catalogue::fastenerValue(c.kind, c.size), c.value)
            << static_cast<int>(c.kind) << " size " << c.size;
}

}  // namespace
