// The skin engine's own message box, for its warnings and errors: the platform's message box
// (skinned by the window hook like every standard dialog), captioned by its kind when no
// caption is given, set to the foreground and topmost, optionally at a requested position.
#pragma once

#include <string>

#include "skin/data/zkMessageBoxStyle.h"

// kind: TzkMessageKind; buttons: TzkMessageButton bits; x, y: the box's top-left corner on
// the screen, -1 for the platform's place. The application is told that a modal box starts
// and ends; the platform's answer (IDOK ...) is returned.
int ShowSkinMessage(const std::wstring& caption, const std::wstring& text, int kind, int x = -1,
                    int y = -1, unsigned buttons = mbtOK);
