// The input line's key table: which key types which character.
#include "console/input_line.h"

namespace {

const BYTE kKeyDown = 0x80;

// Keys after the letters and the minus key, in the order they are tested: the key, what it
// types, what it types with the left Shift key.
struct KeyCharacter {
    int key;
    char plain;
    char shifted;
};
const KeyCharacter kOtherKeys[] = {
    {'1', '1', '!'}, {'2', '2', '@'}, {'3', '3', '#'}, {'4', '4', '$'}, {'5', '5', '%'},
    {'6', '6', '^'}, {'7', '7', '&'}, {'8', '8', '*'}, {'9', '9', '('}, {'0', '0', ')'},
    {VK_ADD, '=', '+'},        {VK_DECIMAL, '\\', '|'},
    {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_COMMA, ',', '<'},
    {VK_SPACE, ' ', ' '},
};

}  // namespace

// Only the left Shift key shifts, except for the minus key, which either Shift key turns into
// the underscore.
char InputLine::TypedCharacter(const BYTE keys[256])
{
    const bool leftShift = (keys[VK_LSHIFT] & kKeyDown) != 0;
    const bool rightShift = (keys[VK_RSHIFT] & kKeyDown) != 0;
    for (int key = 'A'; key <= 'Z'; ++key)
        if (keys[key] & kKeyDown)
            return leftShift ? (char)key : (char)(key - 'A' + 'a');
    if (keys[VK_OEM_MINUS] & kKeyDown)
        return (leftShift || rightShift) ? '_' : '-';
    for (const KeyCharacter& k : kOtherKeys)
        if (keys[k.key] & kKeyDown)
            return leftShift ? k.shifted : k.plain;
    return 0;
}
