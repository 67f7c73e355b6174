#include "workspace/app_form.h"

#include <gtest/gtest.h>

namespace vst {
namespace {

TEST(AppForm, ShowingAnotherPanelReplacesCaptionAndText) {
  AppFormModel form;
  EXPECT_EQ(form.panel(), nullptr);
  EXPECT_EQ(form.caption(), "");
  ASSERT_TRUE(form.show("clipstrip"));
  EXPECT_EQ(form.caption(), "Clipstrip\u00AE Heat Transfer Strip");
  EXPECT_EQ(form.panel()->picture, "CHANNEL.BMP");
  ASSERT_TRUE(form.show("wrapcore"));
  EXPECT_EQ(form.caption(), "Wrapcore\u00AE Pre-Insulated Tubing");
  EXPECT_EQ(form.panel()->picture, "WRAP.BMP");
  EXPECT_EQ(form.panel()->lines, FindAppPanel("wrapcore")->lines);
  EXPECT_FALSE(form.show("nothing"));
  EXPECT_EQ(form.caption(), "Wrapcore\u00AE Pre-Insulated Tubing");
}

TEST(AppForm, ReturnClosesAndPrintKeepsTheWindow) {
  AppFormModel form;
  EXPECT_EQ(form.controls()["mnuPrint"].text, "&Print");
  EXPECT_EQ(form.controls()["mnuReturn"].text, "&Return");
  EXPECT_TRUE(form.clicked("mnuReturn"));
  EXPECT_FALSE(form.clicked("mnuPrint"));
  EXPECT_FALSE(form.clicked("other"));
}

}  // namespace
}  // namespace vst
