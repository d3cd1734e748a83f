// What every screen does when it is left.
#pragma once

// Stops the refresh timer, drops key signals still queued for the screen and resets the key
// acceleration, so the next screen starts without the last one's keys or timer.
void UI_ScreenExit();
