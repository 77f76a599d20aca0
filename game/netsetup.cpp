#include "netsetup.h"

#include <cstring>

#include "game/testapp.h"

using Orvix::ControlKind;
using Orvix::COrvixDialog;
using Orvix::DialogControl;
using Orvix::DialogTemplate;

namespace {

// Positions in dialog units, as the dialog was laid out originally.
const DialogControl kNetSetupControls[] = {
    {Orvix::IDC_STATIC, ControlKind::StaticText, "Name", 8, 7, 26, 10, Orvix::kStyleNone},
    {kNetSetupName, ControlKind::Edit, "", 7, 17, 100, 14, Orvix::kStyleNone},
    {kNetSetupClientPicture, ControlKind::Picture, kClientHeroBitmap, 112, 14, 21, 20, Orvix::kStyleNone},
    {kNetSetupServerPicture, ControlKind::Picture, kServerHeroBitmap, 112, 14, 21, 20, Orvix::kStyleNone},
    {kNetSetupServerBox, ControlKind::CheckBox, "Server", 7, 37, 45, 10, Orvix::kStyleNone},
    {Orvix::IDC_STATIC, ControlKind::GroupBox, "Connect To", 7, 49, 195, 48, Orvix::kStyleNone},
    {Orvix::IDC_STATIC, ControlKind::Picture, kGameIconBitmap, 28, 70, 20, 20, Orvix::kStyleNone},
    {Orvix::IDC_STATIC, ControlKind::StaticText, "Server IP", 55, 64, 31, 8, Orvix::kStyleNone},
    {kNetSetupAddress, ControlKind::Edit, "", 53, 73, 102, 14, Orvix::kStyleNone},
    {Orvix::IDOK, ControlKind::PushButton, "Launch", 98, 102, 50, 14, Orvix::kStyleDefaultButton},
    {Orvix::IDCANCEL, ControlKind::PushButton, "Quit", 152, 102, 50, 14, Orvix::kStyleDefaultButton},
};

const DialogTemplate kNetSetupTemplate = {
    "Prael Network Setup",
    210,
    123,
    kGameIconBitmap,
    kNetSetupControls,
    static_cast<int>(sizeof kNetSetupControls / sizeof kNetSetupControls[0])};

// The address box and the hero picture follow the "Server" box: a server
// needs no address and shows the server's hero.
void ShowRole(COrvixDialog* dialog, bool isServer) {
  dialog->EnableItem(kNetSetupAddress, !isServer);
  dialog->ShowItem(kNetSetupClientPicture, !isServer);
  dialog->ShowItem(kNetSetupServerPicture, isServer);
}

}  // namespace

intptr_t NetSetupDialogProc(COrvixDialog* dialog, uint32_t message, uintptr_t wParam, intptr_t) {
  NetSetupFlags* flags = reinterpret_cast<NetSetupFlags*>(dialog->GetParam());
  if (message == Orvix::WM_CLOSE) {
    dialog->End(static_cast<intptr_t>(wParam));
    Orvix::PostQuitMessage(0);
    flags->quitRequested = true;
    flags->setupFinished = true;
    return 0;
  }
  if (message != Orvix::WM_COMMAND) return 0;
  switch (static_cast<int>(wParam & 0xFFFF)) {
    case Orvix::IDOK:
      dialog->Show(false);
      flags->setupFinished = true;
      return 0;
    case Orvix::IDCANCEL:
      dialog->End(static_cast<intptr_t>(wParam));
      flags->quitRequested = true;
      flags->setupFinished = true;
      return 1;
    case kNetSetupServerBox:
      ShowRole(dialog, dialog->IsButtonChecked(kNetSetupServerBox));
      return 0;
    default:
      return 0;
  }
}

COrvixDialog* OpenNetSetupDialog(NetSetupFlags* flags) {
  COrvixDialog* dialog = COrvixDialog::Create(&kNetSetupTemplate, nullptr, NetSetupDialogProc,
                                              reinterpret_cast<intptr_t>(flags));
  if (dialog == nullptr) return nullptr;
  dialog->Show(true);
  dialog->SetItemText(kNetSetupAddress, kDefaultServerAddress);
  dialog->ShowItem(kNetSetupClientPicture, true);
  dialog->ShowItem(kNetSetupServerPicture, false);
  return dialog;
}

void ReadNetSetupChoice(const COrvixDialog* dialog, NetSetupChoice* choice) {
  std::memset(choice, 0, sizeof *choice);
  choice->isServer = dialog->IsButtonChecked(kNetSetupServerBox);
  dialog->GetItemText(kNetSetupName, choice->playerName, sizeof choice->playerName);
  dialog->GetItemText(kNetSetupAddress, choice->serverAddress, sizeof choice->serverAddress);
}

bool RunNetSetupDialog(NetSetupChoice* choice) {
  NetSetupFlags flags = {};
  COrvixDialog* dialog = OpenNetSetupDialog(&flags);
  if (dialog == nullptr) {
    Orvix::MessageBoxA(nullptr, "Failed to create window", "Error", Orvix::MB_OK);
    return false;
  }
  // Waiting for events instead of polling keeps the processor idle while the
  // player types.
  while (!flags.setupFinished) Orvix::WaitPlatformEvents(0.1);
  if (!flags.quitRequested) {
    ReadNetSetupChoice(dialog, choice);
    dialog->End(0);
  }
  COrvixDialog::Free(dialog);
  return !flags.quitRequested;
}

void ApplyNetSetupChoice(CTestApp* app, const NetSetupChoice& choice) {
  app->SetServer(choice.isServer);
  if (!choice.isServer) app->SetServerAddress(choice.serverAddress);
  app->SetPlayerName(choice.playerName);
}
