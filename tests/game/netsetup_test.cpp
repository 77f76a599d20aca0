#include "game/netsetup.h"

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "game/testapp.h"
#include "orvix/platform.h"
#include "tests/common/temp_dir.h"

using Orvix::COrvixDialog;

namespace {

// The set-up dialog as the entry opens it, driven as the player would.
class NetSetupTest : public testing::Test {
 protected:
  void SetUp() override {
    m_dialog = OpenNetSetupDialog(&m_flags);
    ASSERT_NE(m_dialog, nullptr);
    Orvix::PumpPlatformEvents();  // no quit message left over from other tests
  }
  void TearDown() override { COrvixDialog::Free(m_dialog); }

  std::string Text(int id) {
    char text[256];
    m_dialog->GetItemText(id, text, sizeof text);
    return text;
  }
  void ExpectRole(bool server) {
    EXPECT_EQ(m_dialog->IsButtonChecked(kNetSetupServerBox), server);
    EXPECT_EQ(m_dialog->IsItemEnabled(kNetSetupAddress), !server);
    EXPECT_EQ(m_dialog->IsItemVisible(kNetSetupClientPicture), !server);
    EXPECT_EQ(m_dialog->IsItemVisible(kNetSetupServerPicture), server);
  }

  NetSetupFlags m_flags = {};
  COrvixDialog* m_dialog = nullptr;
};

}  // namespace

TEST_F(NetSetupTest, OpensShownAsAClientOfTheLocalMachine) {
  EXPECT_TRUE(m_dialog->IsVisible());
  EXPECT_STREQ(m_dialog->GetTemplate()->caption, "Prael Network Setup");
  EXPECT_EQ(Text(kNetSetupAddress), "127.0.0.1");
  EXPECT_EQ(Text(kNetSetupName), "");
  ExpectRole(false);
  EXPECT_FALSE(m_flags.setupFinished);
  EXPECT_FALSE(m_flags.quitRequested);
}

TEST_F(NetSetupTest, TheServerBoxTogglesTheAddressAndTheHeroPicture) {
  m_dialog->UserClicked(kNetSetupServerBox);
  ExpectRole(true);
  m_dialog->UserEditedText(kNetSetupAddress, "10.0.0.1");
  EXPECT_EQ(Text(kNetSetupAddress), "127.0.0.1") << "a disabled address box takes no typing";
  m_dialog->UserClicked(kNetSetupServerBox);
  ExpectRole(false);
  EXPECT_FALSE(m_flags.setupFinished);
}

TEST_F(NetSetupTest, LaunchHidesTheDialogAndFinishesTheSetup) {
  m_dialog->UserClicked(Orvix::IDOK);
  EXPECT_FALSE(m_dialog->IsVisible());
  EXPECT_TRUE(m_flags.setupFinished);
  EXPECT_FALSE(m_flags.quitRequested);
  EXPECT_TRUE(Orvix::PumpPlatformEvents()) << "no quit message";
}

TEST_F(NetSetupTest, QuitEndsTheDialogAndIsTheOneCommandAnsweredTrue) {
  EXPECT_EQ(m_dialog->SendDialogMessage(Orvix::WM_COMMAND, kNetSetupServerBox, 0), 0);
  EXPECT_EQ(m_dialog->SendDialogMessage(Orvix::WM_COMMAND, 4711, 0), 0);
  EXPECT_EQ(m_dialog->SendDialogMessage(Orvix::WM_COMMAND, Orvix::IDCANCEL, 0), 1);
  EXPECT_TRUE(m_dialog->IsEnded());
  EXPECT_EQ(m_dialog->GetResult(), Orvix::IDCANCEL);
  EXPECT_TRUE(m_flags.setupFinished);
  EXPECT_TRUE(m_flags.quitRequested);
}

TEST_F(NetSetupTest, TheCloseBoxQuitsAndPostsAQuitMessage) {
  m_dialog->UserPressedCloseBox();
  EXPECT_TRUE(m_dialog->IsEnded());
  EXPECT_TRUE(m_flags.setupFinished);
  EXPECT_TRUE(m_flags.quitRequested);
  EXPECT_FALSE(Orvix::PumpPlatformEvents()) << "the quit message was posted";
}

TEST_F(NetSetupTest, ReadingCutsTheTextsToTheirFields) {
  struct Case {
    bool server;
    std::string name, address;
    std::string expectedName, expectedAddress;
  };
  const std::string longName(70, 'n');
  const std::string longAddress = "012345678901234567890123456789";
  const Case cases[] = {
      {false, "", "127.0.0.1", "", "127.0.0.1"},
      {false, longName, longAddress, longName.substr(0, 63), longAddress.substr(0, 23)},
      {true, "Aveth", "192.168.1.2", "Aveth", "192.168.1.2"},
  };
  for (const Case& c : cases) {
    m_dialog->CheckButton(kNetSetupServerBox, c.server);
    m_dialog->SetItemText(kNetSetupName, c.name.c_str());
    m_dialog->SetItemText(kNetSetupAddress, c.address.c_str());
    NetSetupChoice choice;
    ReadNetSetupChoice(m_dialog, &choice);
    EXPECT_EQ(choice.isServer, c.server);
    EXPECT_EQ(choice.playerName, c.expectedName);
    EXPECT_EQ(choice.serverAddress, c.expectedAddress) << "the address is read even for a server";
  }
}

TEST(NetSetup, AServerIsNeverHandedTheAddress) {
  NetSetupChoice server = {true, "10.1.2.3", "Host"};
  CTestApp serverApp;
  ApplyNetSetupChoice(&serverApp, server);
  EXPECT_TRUE(serverApp.IsServer());
  EXPECT_STREQ(serverApp.GetServerAddress(), "");
  EXPECT_STREQ(serverApp.GetPlayerName(), "Host");

  NetSetupChoice client = {false, "10.1.2.3", "Guest"};
  CTestApp clientApp;
  ApplyNetSetupChoice(&clientApp, client);
  EXPECT_FALSE(clientApp.IsServer());
  EXPECT_STREQ(clientApp.GetServerAddress(), "10.1.2.3");
  EXPECT_STREQ(clientApp.GetPlayerName(), "Guest");
}

TEST(NetSetup, HeroPicturesComeFromTheirDataFiles) {
  ScopedTempDir dir;
  SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, 32, 32, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
  ASSERT_NE(surface, nullptr);
  ASSERT_EQ(SDL_SaveBMP(surface, kServerHeroBitmap), 0);
  SDL_FreeSurface(surface);
  NetSetupFlags flags = {};
  COrvixDialog* dialog = OpenNetSetupDialog(&flags);
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->HasItemImage(kNetSetupServerPicture));
  EXPECT_FALSE(dialog->HasItemImage(kNetSetupClientPicture)) << "its file is missing";
  COrvixDialog::Free(dialog);
}
