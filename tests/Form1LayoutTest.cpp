// The main window's table as data: consistent ids, fields and groups, every
// control inside its container, and the twips scaling.
#include <gtest/gtest.h>

#include <set>

#include "ui/Form1Layout.h"

namespace quorvane {
namespace {

TEST(Form1Table, IdsAndNamesAreUniqueAndNoneIsOkOrCancel) {
  std::set<int> ids;
  std::set<std::wstring> names;
  for (const ControlRow& c : kForm1Controls) {
    EXPECT_TRUE(ids.insert(static_cast<int>(c.id)).second) << static_cast<int>(c.id);
    EXPECT_TRUE(names.insert(c.name).second);
    EXPECT_GT(static_cast<int>(c.id), 2);  // IDOK and IDCANCEL are Enter and Escape
  }
  for (const MenuRow& m : kForm1Menus) {
    for (const MenuItemRow& item : m.items) {
      EXPECT_FALSE(ids.count(static_cast<int>(item.id)));
      EXPECT_EQ(std::wstring(item.caption).find(L'&'), std::wstring::npos);
    }
    EXPECT_EQ(std::wstring(m.caption).find(L'&'), std::wstring::npos);
  }
}

TEST(Form1Table, EveryFieldAndOptionHasExactlyOneControlOfTheRightKind) {
  for (int i = 0; i < kFieldCount; ++i) {
    const Field f = static_cast<Field>(i);
    int count = 0;
    for (const ControlRow& c : kForm1Controls) count += c.field == f;
    EXPECT_EQ(count, 1) << i;
    const ControlRow& c = RowOf(f);
    EXPECT_EQ(c.field, f);
    // The four display fields are labels; the twenty others are text boxes.
    const bool display = f >= Field::lblDisplayReal1 && f <= Field::lblDisplayImag2;
    EXPECT_EQ(c.kind, display ? Kind::Label : Kind::TextBox) << i;
    EXPECT_EQ(c.grey, f >= Field::txtQuotientReal) << i;
  }
  for (OptionGroup g : {OptionGroup::optA, OptionGroup::optB}) {
    for (int item = 0; item < 2; ++item) {
      const ControlRow& c = RowOf(g, item);
      EXPECT_EQ(c.kind, Kind::Option);
      EXPECT_EQ(c.group, g);
      EXPECT_EQ(c.item, item);
      EXPECT_EQ(c.container, g == OptionGroup::optA ? ControlId::Frame1 : ControlId::Frame2);
    }
  }
}

TEST(Form1Table, EveryControlLiesInsideItsContainer) {
  for (const ControlRow& c : kForm1Controls) {
    int width = kClientWidthTwips, height = kClientHeightTwips;
    if (c.container != ControlId::None) {
      const ControlRow& frame = RowOf(c.container);
      ASSERT_EQ(frame.kind, Kind::Frame);
      width = frame.width;
      height = frame.height;
    }
    EXPECT_GE(c.left, 0);
    EXPECT_GE(c.top, 0);
    EXPECT_LE(c.left + c.width, width) << c.name;
    EXPECT_LE(c.top + c.height, height) << c.name;
  }
}

TEST(Form1Table, BoxesAndFramesCarryUniqueAccessibleNamesAndNothingElseDoes) {
  std::set<std::wstring> names;
  for (const ControlRow& c : kForm1Controls) {
    const bool named = c.kind == Kind::TextBox || c.kind == Kind::Frame;
    ASSERT_EQ(c.accessibleName != nullptr, named) << c.name;
    if (!named) continue;
    EXPECT_NE(std::wstring(c.accessibleName), L"") << c.name;
    EXPECT_TRUE(names.insert(c.accessibleName).second) << c.accessibleName;
  }
  EXPECT_EQ(names.size(), 22u);
}

TEST(Form1Table, TwipsScaleLikeMulDiv) {
  struct Row {
    int twips, dpi, pixels;
  };
  const Row rows[] = {
      {1080, 96, 72},     {9960, 96, 664},  {6855, 96, 457}, {1335, 144, 134},  // 133.5 rounds up
      {105, 144, 11},     {1095, 120, 91},  {195, 144, 20},  {0, 144, 0},
      {-1335, 144, -134}, {1440, 192, 192},
  };
  for (const Row& r : rows) EXPECT_EQ(TwipsToPixels(r.twips, r.dpi), r.pixels) << r.twips;
}

}  // namespace
}  // namespace quorvane
