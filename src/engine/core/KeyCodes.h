#pragma once

#include <cstdint>

namespace Strata
{

// Key codes follow the Windows virtual-key numbering; 256 and above are the engine's game-pad codes.
// Letters and digits are their upper-case ASCII characters ('A' is 65, '0' is 48).
enum eKeyCode : uint16_t
{
    Key_Null = 0,
    Key_Backspace = 8,
    Key_Tab = 9,
    Key_Clear = 12,
    Key_Enter = 13,
    Key_Shift = 16,
    Key_Control = 17,
    Key_Alt = 18,
    Key_Pause = 19,
    Key_CapsLock = 20,
    Key_Escape = 27,
    Key_Space = 32,
    Key_PageUp = 33,
    Key_PageDown = 34,
    Key_End = 35,
    Key_Home = 36,
    Key_Left = 37,
    Key_Up = 38,
    Key_Right = 39,
    Key_Down = 40,
    Key_PrtScn = 44,
    Key_Insert = 45,
    Key_Delete = 46,
    Key_Q = 'Q',
    Key_LeftWin = 91,
    Key_RightWin = 92,
    Key_Menu = 93,
    Key_Num0 = 96,
    Key_Num9 = 105,
    Key_NumMult = 106,
    Key_NumAdd = 107,
    Key_NumSub = 109,
    Key_NumDec = 110,
    Key_NumDiv = 111,
    Key_F1 = 112,
    Key_F5 = 116,
    Key_F11 = 122,
    Key_F12 = 123,
    Key_F16 = 127,
    Key_NumLock = 144,
    Key_ScrLock = 145,
    Key_GamePadStart = 256,
    Key_GamePadSelect = 257,
    Key_GamePadA = 258,
    Key_GamePadB = 259,
    Key_GamePadX = 260,
    Key_GamePadY = 261,
    Key_GamePadL = 262,
    Key_GamePadR = 263,
    Key_GamePadL2 = 264,
    Key_GamePadR2 = 265,
    Key_GamePadLT = 266,
    Key_GamePadRT = 267,
    Key_GamePadUp = 268,
    Key_GamePadRight = 269,
    Key_GamePadDown = 270,
    Key_GamePadLeft = 271
};

// The code of a key name from a data file ("Escape", "F1", ";", "GamePadA"), ignoring ASCII letter case.
// A name missing from the table that is one ASCII character gives that character upper-cased ("a" gives 65).
// Null, empty and unknown names give 0 (Key_Null).
uint16_t GetKeyCodeByName(const wchar_t* name);

} // namespace Strata
