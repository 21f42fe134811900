// Qt's key codes turned into the original platform's virtual-key codes, so that WM_KEYDOWN
// tells Left arrow (VK_LEFT) from '%' and F1 (VK_F1) from '0', as the program expects.
#pragma once

#include "framework/VirtualKeys.h"

#include <Qt>

// The virtual key of a Qt key; keys on the numeric keypad (`modifiers` with the keypad flag)
// have their own codes. 0 for keys the original platform has no code for.
UINT VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
