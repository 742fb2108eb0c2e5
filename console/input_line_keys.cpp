// The input line's key table: which key types which character.
#include "console/input_line.h"

#include "console/console_style.h"

namespace {

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

// Main-keyboard keys after the table's own entries, typing their US-layout characters; either
// Shift key shifts them.
const KeyCharacter kMoreKeys[] = {
    {VK_OEM_5, '\\', '|'}, {VK_OEM_2, '/', '?'},  {VK_OEM_PLUS, '=', '+'}, {VK_OEM_4, '[', '{'},
    {VK_OEM_6, ']', '}'},   {VK_OEM_1, ';', ':'}, {VK_OEM_7, '\'', '"'},
};

}  // namespace

// The table's own keys shift only with the left Shift key, except for the minus key, which
// either Shift key turns into the underscore; the keys after the table take either.
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
    for (const KeyCharacter& k : kMoreKeys)
        if (keys[k.key] & kKeyDown)
            return (leftShift || rightShift) ? k.shifted : k.plain;
    return 0;
}
