#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/panel_cfg.h"

namespace host {
namespace {

TEST(PanelCfg, PlacementsInFileOrder) {
  const char* text =
      "// a panel\n"
      "[Window Titles]\n"
      "window00=Main\n"
      "gauge00=not!placed, 1, 1\n"  // not a window section
      "\n"
      "[Window00]\n"
      "file=panel.bmp\n"
      "size_mm=640\n"
      "gauge01=navcomplex!TKS_Pult, 10, 20, 100, 50\n"
      "gauge00=navcomplex!AZS_GA1_VKL,5,6   // trailing comment\n"
      "; gauge02=commented!out, 0, 0\n"
      "Gauge03 = other!Thing , 7 , 8 , 9\r\n"
      "[VCockpit01]\n"
      "gauge00=navcomplex!VC_ICON_1, 0, 0, 30, 30\n"
      "[Views]\n"
      "gauge00=ignored!here, 0, 0\n"
      "[window02]\n"
      "gauge00=navcomplex!TKS_Pult\n";
  std::vector<PanelEntry> got;
  std::string error;
  ASSERT_TRUE(parse_panel_cfg(text, &got, &error)) << error;

  struct Want {
    const char* section;
    const char* key;
    const char* module;
    const char* gauge;
    int x, y, w, h, line;
  };
  const Want want[] = {
      {"Window00", "gauge01", "navcomplex", "TKS_Pult", 10, 20, 100, 50, 9},
      {"Window00", "gauge00", "navcomplex", "AZS_GA1_VKL", 5, 6, 0, 0, 10},
      {"Window00", "Gauge03", "other", "Thing", 7, 8, 9, 0, 12},
      {"VCockpit01", "gauge00", "navcomplex", "VC_ICON_1", 0, 0, 30, 30, 14},
      {"window02", "gauge00", "navcomplex", "TKS_Pult", 0, 0, 0, 0, 18},
  };
  ASSERT_EQ(got.size(), std::size(want));
  for (std::size_t i = 0; i < got.size(); ++i) {
    const PanelEntry& e = got[i];
    const Want& w = want[i];
    EXPECT_EQ(e.section, w.section) << i;
    EXPECT_EQ(e.key, w.key) << i;
    EXPECT_EQ(e.module, w.module) << i;
    EXPECT_EQ(e.gauge, w.gauge) << i;
    EXPECT_EQ(e.x, w.x) << i;
    EXPECT_EQ(e.y, w.y) << i;
    EXPECT_EQ(e.w, w.w) << i;
    EXPECT_EQ(e.h, w.h) << i;
    EXPECT_EQ(e.line, w.line) << i;
  }
}

TEST(PanelCfg, GaugeLineWithoutModuleIsAnError) {
  const char* bad[] = {
      "[Window00]\ngauge00=NoModule, 1, 2\n",
      "[Window00]\ngauge00=!gauge, 1, 2\n",
      "[Window00]\ngauge00=module!, 1, 2\n",
      "[Window00]\ngauge00=\n",
  };
  for (const char* text : bad) {
    std::vector<PanelEntry> got;
    std::string error;
    EXPECT_FALSE(parse_panel_cfg(text, &got, &error)) << text;
    EXPECT_EQ(error.rfind("2: ", 0), 0u) << error;
  }
}

TEST(PanelCfg, EmptyAndUnterminatedSection) {
  std::vector<PanelEntry> got{PanelEntry{}};
  std::string error;
  EXPECT_TRUE(parse_panel_cfg("", &got, &error));
  EXPECT_TRUE(got.empty());
  EXPECT_TRUE(parse_panel_cfg("[Window00\ngauge00=a!b, 1, 2", &got, &error));
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].gauge, "b");
}

}  // namespace
}  // namespace host
