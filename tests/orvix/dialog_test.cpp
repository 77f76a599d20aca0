#include "orvix/dialog.h"

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/common/temp_dir.h"

using Orvix::ControlKind;
using Orvix::COrvixDialog;

namespace {

enum : int { kName = 10, kBox = 11, kPicture = 12, kLog = 13, kGo = 14 };

const Orvix::DialogControl kControls[] = {
    {Orvix::IDC_STATIC, ControlKind::StaticText, "Label", 1, 1, 20, 8, Orvix::kStyleNone},
    {kName, ControlKind::Edit, "start", 1, 10, 50, 12, Orvix::kStyleNone},
    {kBox, ControlKind::CheckBox, "Tick", 1, 24, 40, 10, Orvix::kStyleNone},
    {Orvix::IDC_STATIC, ControlKind::GroupBox, "Frame", 0, 36, 100, 40, Orvix::kStyleNone},
    {kPicture, ControlKind::Picture, "picture.bmp", 60, 10, 20, 20, Orvix::kStyleNone},
    {kLog, ControlKind::Edit, "", 2, 40, 90, 30, Orvix::kStyleMultiline | Orvix::kStyleReadOnly},
    {kGo, ControlKind::PushButton, "Go", 50, 80, 40, 14, Orvix::kStyleDefaultButton},
};
const Orvix::DialogTemplate kTemplate = {"Test Dialog", 100, 100, "icon.bmp", kControls, 7};

struct Received {
  uint32_t message;
  uintptr_t wParam;
  intptr_t lParam;
  bool boxChecked;  // the check box's state when the message arrived
};

std::vector<Received>* g_received = nullptr;

intptr_t RecordingProc(COrvixDialog* dialog, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  g_received->push_back({message, wParam, lParam, dialog->IsButtonChecked(kBox)});
  return message == Orvix::WM_INITDIALOG ? 1 : 0;
}

class DialogTest : public testing::Test {
 protected:
  void SetUp() override {
    g_received = &m_received;
    m_dialog = COrvixDialog::Create(&kTemplate, nullptr, RecordingProc, 1234);
    ASSERT_NE(m_dialog, nullptr);
  }
  void TearDown() override {
    COrvixDialog::Free(m_dialog);
    g_received = nullptr;
  }
  std::string Text(int id, int limit = 256) {
    std::vector<char> out(static_cast<size_t>(limit) + 1, '#');
    const int copied = m_dialog->GetItemText(id, out.data(), limit);
    EXPECT_EQ(static_cast<size_t>(copied), std::string(out.data()).size());
    return out.data();
  }

  std::vector<Received> m_received;
  COrvixDialog* m_dialog = nullptr;
};

}  // namespace

TEST_F(DialogTest, CreationSendsInitDialogWithTheParameterAndLeavesTheDialogHidden) {
  ASSERT_EQ(m_received.size(), 1u);
  EXPECT_EQ(m_received[0].message, Orvix::WM_INITDIALOG);
  EXPECT_EQ(m_received[0].lParam, 1234);
  EXPECT_EQ(m_dialog->GetParam(), 1234);
  EXPECT_FALSE(m_dialog->IsVisible());
  m_dialog->Show(true);
  EXPECT_TRUE(m_dialog->IsVisible());
}

TEST_F(DialogTest, ControlsStartWithTheTemplateTextShownEnabledAndUnchecked) {
  EXPECT_EQ(Text(kName), "start");
  EXPECT_EQ(Text(kBox), "Tick");
  EXPECT_EQ(Text(kLog), "");
  for (int id : {kName, kBox, kPicture, kLog, kGo}) {
    EXPECT_TRUE(m_dialog->IsItemVisible(id)) << id;
    EXPECT_TRUE(m_dialog->IsItemEnabled(id)) << id;
  }
  EXPECT_FALSE(m_dialog->IsButtonChecked(kBox));
}

TEST_F(DialogTest, GetItemTextKeepsWithinTheLimitIncludingTheZero) {
  ASSERT_TRUE(m_dialog->SetItemText(kName, "abcdefgh"));
  struct Case {
    int limit;
    const char* expected;
  };
  for (const Case& c :
       {Case{1, ""}, Case{4, "abc"}, Case{8, "abcdefg"}, Case{9, "abcdefgh"}, Case{64, "abcdefgh"}})
    EXPECT_EQ(Text(kName, c.limit), c.expected) << "limit " << c.limit;
  char untouched[2] = {'#', '#'};
  EXPECT_EQ(m_dialog->GetItemText(kName, untouched, 0), 0);
  EXPECT_EQ(untouched[0], '#');
}

TEST_F(DialogTest, UnknownAndStaticIdentifiersAreRefused) {
  for (int id : {999, Orvix::IDC_STATIC}) {
    EXPECT_FALSE(m_dialog->SetItemText(id, "x")) << id;
    EXPECT_FALSE(m_dialog->ShowItem(id, false)) << id;
    EXPECT_FALSE(m_dialog->EnableItem(id, false)) << id;
    EXPECT_FALSE(m_dialog->IsItemVisible(id)) << id;
    EXPECT_EQ(Text(id), "") << id;
  }
  EXPECT_FALSE(m_dialog->CheckButton(kName, true)) << "only check boxes carry a check mark";
}

TEST_F(DialogTest, ClickingACheckBoxFlipsItBeforeTheCommandArrives) {
  m_dialog->Show(true);
  m_dialog->UserClicked(kBox);
  ASSERT_EQ(m_received.size(), 2u);
  EXPECT_EQ(m_received[1].message, Orvix::WM_COMMAND);
  EXPECT_EQ(m_received[1].wParam & 0xFFFF, static_cast<uintptr_t>(kBox));
  EXPECT_TRUE(m_received[1].boxChecked);
  m_dialog->UserClicked(kBox);
  EXPECT_FALSE(m_dialog->IsButtonChecked(kBox));
  m_dialog->UserClicked(kGo);
  EXPECT_EQ(m_received.back().wParam, static_cast<uintptr_t>(kGo));
}

TEST_F(DialogTest, TheUserCannotReachHiddenOrDisabledControlsNorAHiddenDialog) {
  m_dialog->UserClicked(kGo);
  m_dialog->UserEditedText(kName, "typed");
  m_dialog->UserPressedCloseBox();
  EXPECT_EQ(m_received.size(), 1u) << "the dialog is not shown yet";

  m_dialog->Show(true);
  m_dialog->EnableItem(kBox, false);
  m_dialog->ShowItem(kGo, false);
  m_dialog->EnableItem(kName, false);
  m_dialog->UserClicked(kBox);
  m_dialog->UserClicked(kGo);
  m_dialog->UserEditedText(kName, "typed");
  m_dialog->UserEditedText(kLog, "typed into a read-only edit");
  m_dialog->UserClicked(kName);
  EXPECT_EQ(m_received.size(), 1u);
  EXPECT_FALSE(m_dialog->IsButtonChecked(kBox));
  EXPECT_EQ(Text(kName), "start");
  EXPECT_EQ(Text(kLog), "");

  m_dialog->EnableItem(kName, true);
  m_dialog->UserEditedText(kName, "typed");
  EXPECT_EQ(Text(kName), "typed");
}

TEST_F(DialogTest, TheCloseBoxSendsCloseAndEndHidesWithTheResult) {
  m_dialog->Show(true);
  m_dialog->UserPressedCloseBox();
  ASSERT_EQ(m_received.size(), 2u);
  EXPECT_EQ(m_received[1].message, Orvix::WM_CLOSE);
  EXPECT_TRUE(m_dialog->IsVisible()) << "closing is the procedure's decision";
  m_dialog->End(7);
  EXPECT_FALSE(m_dialog->IsVisible());
  EXPECT_TRUE(m_dialog->IsEnded());
  EXPECT_EQ(m_dialog->GetResult(), 7);
}

TEST_F(DialogTest, ADestroyedWindowStaysClosed) {
  m_dialog->Show(true);
  m_dialog->DestroyWindow();
  EXPECT_TRUE(m_dialog->IsWindowDestroyed());
  m_dialog->Show(true);
  EXPECT_FALSE(m_dialog->IsVisible());
  EXPECT_TRUE(m_dialog->SetItemText(kLog, "state is still kept"));
}

TEST(Dialog, PicturesAndTheIconComeFromBitmapFilesWhenTheyExist) {
  ScopedTempDir dir;
  std::vector<Received> received;
  g_received = &received;
  COrvixDialog* withoutFiles = COrvixDialog::Create(&kTemplate, nullptr, RecordingProc, 0);
  ASSERT_NE(withoutFiles, nullptr);
  EXPECT_FALSE(withoutFiles->HasItemImage(kPicture));
  COrvixDialog::Free(withoutFiles);

  SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, 4, 3, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
  ASSERT_NE(surface, nullptr);
  SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 10, 200, 30));
  ASSERT_EQ(SDL_SaveBMP(surface, "picture.bmp"), 0);
  ASSERT_EQ(SDL_SaveBMP(surface, "icon.bmp"), 0);
  SDL_FreeSurface(surface);
  COrvixDialog* withFiles = COrvixDialog::Create(&kTemplate, nullptr, RecordingProc, 0);
  ASSERT_NE(withFiles, nullptr);
  EXPECT_TRUE(withFiles->HasItemImage(kPicture));
  const Orvix::DialogControlState* picture = nullptr;
  for (int i = 0; i < withFiles->GetControlCount(); ++i)
    if (withFiles->GetControlState(i).control->id == kPicture) picture = &withFiles->GetControlState(i);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->imageWidth, 4);
  EXPECT_EQ(picture->imageHeight, 3);
  EXPECT_EQ(picture->pixels[0], 10);
  EXPECT_EQ(picture->pixels[1], 200);
  EXPECT_EQ(picture->pixels[2], 30);
  int iconWidth = 0;
  int iconHeight = 0;
  EXPECT_NE(withFiles->GetIconPixels(&iconWidth, &iconHeight), nullptr);
  EXPECT_EQ(iconWidth, 4);
  COrvixDialog::Free(withFiles);

  WriteFileText("picture.bmp", "BM this is not a bitmap");
  COrvixDialog* withBrokenFile = COrvixDialog::Create(&kTemplate, nullptr, RecordingProc, 0);
  ASSERT_NE(withBrokenFile, nullptr);
  EXPECT_FALSE(withBrokenFile->HasItemImage(kPicture));
  COrvixDialog::Free(withBrokenFile);
  g_received = nullptr;
}

TEST(Dialog, UnusableTemplatesAreRefused) {
  Orvix::DialogTemplate missingControls = kTemplate;
  missingControls.controls = nullptr;
  EXPECT_EQ(COrvixDialog::Create(&missingControls, nullptr, RecordingProc, 0), nullptr);
  EXPECT_EQ(COrvixDialog::Create(nullptr, nullptr, RecordingProc, 0), nullptr);
  EXPECT_EQ(COrvixDialog::Create(&kTemplate, nullptr, nullptr, 0), nullptr);
}
