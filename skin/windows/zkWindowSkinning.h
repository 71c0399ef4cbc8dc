// Plugs the window layer into the skin engine below it: the window hook and its records, desktop
// composition and the glow windows for the skin manager and the controls' skin data, and the
// list view's adapter for the skinned list view. The program calls it once at start-up,
// before it makes a skin manager; calling it again changes nothing.
#pragma once

void InstallWindowSkinning();
