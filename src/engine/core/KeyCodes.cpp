#include "core/KeyCodes.h"

#include "core/WideString.h"

#include <iterator>

namespace Strata
{

namespace
{

struct KeyName
{
    const wchar_t* name;
    uint16_t code;
};

// Searched in order: the first row that matches wins.
// clang-format off
constexpr KeyName KeyNames[] = {
    {L"Null", 0},          {L"Backspace", 8},       {L"Tab", 9},            {L"Clear", 12},
    {L"Enter", 13},        {L"Shift", 16},          {L"Control", 17},       {L"Alt", 18},
    {L"Pause", 19},        {L"CapsLock", 20},       {L"Escape", 27},        {L"Space", 32},
    {L"Left", 37},         {L"Up", 38},             {L"Right", 39},         {L"Down", 40},
    {L"PrtScn", 44},       {L"Insert", 45},         {L"Delete", 46},        {L"PageUp", 33},
    {L"PageDown", 34},     {L"Home", 36},           {L"End", 35},           {L"LeftWin", 91},
    {L"RightWin", 92},     {L"Menu", 93},           {L"Num0", 96},          {L"Num1", 97},
    {L"Num2", 98},         {L"Num3", 99},           {L"Num4", 100},         {L"Num5", 101},
    {L"Num6", 102},        {L"Num7", 103},          {L"Num8", 104},         {L"Num9", 105},
    {L"NumMult", 106},     {L"NumAdd", 107},        {L"NumSub", 109},       {L"NumDec", 110},
    {L"NumDiv", 111},      {L"F1", 112},            {L"F2", 113},           {L"F3", 114},
    {L"F4", 115},          {L"F5", 116},            {L"F6", 117},           {L"F7", 118},
    {L"F8", 119},          {L"F9", 120},            {L"F10", 121},          {L"F11", 122},
    {L"F12", 123},         {L"F13", 124},           {L"F14", 125},          {L"F15", 126},
    {L"F16", 127},         {L"NumLock", 144},       {L"ScrLock", 145},      {L";", 186},
    {L"=", 187},           {L",", 188},             {L"-", 189},            {L".", 190},
    {L"/", 191},           {L"`", 192},             {L"[", 219},            {L"\\", 220},
    {L"]", 221},           {L"'", 222},             {L"GamePadStart", 256}, {L"GamePadSelect", 257},
    {L"GamePadA", 258},    {L"GamePadB", 259},      {L"GamePadX", 260},     {L"GamePadY", 261},
    {L"GamePadL", 262},    {L"GamePadR", 263},      {L"GamePadL2", 264},    {L"GamePadR2", 265},
    {L"GamePadLT", 266},   {L"GamePadRT", 267},     {L"GamePadUp", 268},    {L"GamePadRight", 269},
    {L"GamePadDown", 270}, {L"GamePadLeft", 271},   {L"VK_RETURN", 13},     {L"VK_ESCAPE", 27},
    {L"Start", 256},       {L"Select", 257},
};
// clang-format on
static_assert(std::size(KeyNames) == 90);

bool EqualsIgnoringAsciiCase(const wchar_t* a, const wchar_t* b)
{
    for (; *a != 0 && *b != 0; ++a, ++b)
        if (AsciiToUpper(*a) != AsciiToUpper(*b))
            return false;
    return *a == *b;
}

} // namespace

uint16_t GetKeyCodeByName(const wchar_t* name)
{
    if (name == nullptr || name[0] == 0)
        return Key_Null;
    for (const KeyName& row : KeyNames)
        if (EqualsIgnoringAsciiCase(name, row.name))
            return row.code;
    // wchar_t is signed here: a negative value is no character, not a small one.
    if (name[1] == 0 && name[0] > 0 && name[0] <= 127)
        return static_cast<uint16_t>(AsciiToUpper(name[0]));
    return Key_Null;
}

} // namespace Strata
