// What start-up needs from the screens beside the spine's table.
#pragma once

// What the screens remember between visits (saved cursors, return states, answers) is
// forgotten at every panel start, like the rest of the panel's state.
void UI_ResetScreens();
