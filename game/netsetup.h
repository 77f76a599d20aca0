// The network set-up dialog the game shows before the engine starts: the
// player's name, whether this program is the server, and the server's address.
#pragma once

#include <cstdint>

#include "orvix/dialog.h"

class CTestApp;

// What the player chose, read from the dialog (or from the command line).
struct NetSetupChoice {
  bool isServer;
  char serverAddress[24];  // at most 23 characters
  char playerName[64];     // at most 63 characters
};

// Connects the dialog procedure with the loop that waits for the player.
struct NetSetupFlags {
  bool setupFinished;  // the loop may stop
  bool quitRequested;  // the program is to end
};

// Control identifiers of the set-up dialog.
enum NetSetupControl : int {
  kNetSetupServerBox = 1003,
  kNetSetupAddress = 1005,
  kNetSetupName = 1006,
  kNetSetupClientPicture = 1008,
  kNetSetupServerPicture = 1009,
};

// Data files of the pictures and the icon; a missing file leaves its place empty.
inline constexpr const char* kServerHeroBitmap = "netsetup_server.bmp";
inline constexpr const char* kClientHeroBitmap = "netsetup_client.bmp";
inline constexpr const char* kGameIconBitmap = "prael_icon.bmp";
inline constexpr const char* kDefaultServerAddress = "127.0.0.1";

// The dialog procedure; its parameter is the NetSetupFlags to set. Returns
// TRUE (1) only for "Quit".
intptr_t NetSetupDialogProc(Orvix::COrvixDialog* dialog, uint32_t message, uintptr_t wParam, intptr_t lParam);

// Creates the dialog, shows it and puts it in the client state; null when it
// cannot be made. Release it with COrvixDialog::Free.
Orvix::COrvixDialog* OpenNetSetupDialog(NetSetupFlags* flags);

// Clears the choice and fills it from the dialog's controls.
void ReadNetSetupChoice(const Orvix::COrvixDialog* dialog, NetSetupChoice* choice);

// Shows the dialog and waits for the player. False when the player quit or
// the dialog could not be made (the player has then been told).
bool RunNetSetupDialog(NetSetupChoice* choice);

// Hands the choice to the application; a server never receives the address.
void ApplyNetSetupChoice(CTestApp* app, const NetSetupChoice& choice);
