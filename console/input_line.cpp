#include "console/input_line.h"

#include <string.h>

#include "console/console_style.h"
#include "console/outline_style.h"
#include "console/screen_quad.h"
#include "console/window_caption.h"
#include "console/window_geometry.h"

InputLine::InputLine(IDirect3DDevice9** device_, DynamicRow* commandQueue_, const char* caption_)
    : device(device_),
      textColor(kCaptionIdleColour),
      backColor(0xFFFAFA64),
      vertexBuffer(NULL),
      texture(NULL),
      textFont(NULL),
      captionFont(NULL),
      x(0),
      y(0),
      width(5),
      height(15),
      focused(false),
      dragging(false),
      pressX(0),
      pressY(0),
      mouseX(0),
      mouseY(0),
      grabRight(0),
      grabBottom(0),
      commandQueue(commandQueue_)
{
    caption = caption_;
    // Started here although the console restarts it when it opens: a timer read before any
    // Start would hold whatever the memory held.
    keyTimer.Start();
    CreateCaptionFont(*device, &captionFont);
}

InputLine::~InputLine()
{
    ReleaseConsoleResource(&vertexBuffer);
    ReleaseConsoleResource(&texture);
    ReleaseConsoleResource(&textFont);
    ReleaseConsoleResource(&captionFont);
}

HRESULT InputLine::CreateResources()
{
    ReleaseConsoleResource(&vertexBuffer);
    ReleaseConsoleResource(&texture);
    ReleaseConsoleResource(&textFont);
    IDirect3DDevice9* d = *device;
    if (!d)
        return E_FAIL;

    if (FAILED(D3DXCreateTextureFromFileA(d, "textures\\_def\\yellow.bmp", &texture)))
        texture = NULL;

    if (FAILED(CreateScreenQuad(d, (float)x, (float)y, (float)x + (float)width,
                                (float)y + (float)height, 0.0f, backColor, &vertexBuffer)))
        return E_FAIL;

    D3DXCreateFontA(d, 15, 6, 200, 0, FALSE, DEFAULT_CHARSET, 0, 0, 0, "Courier ", &textFont);
    pressX = x;
    pressY = y;
    return S_OK;
}

void InputLine::Draw()
{
    IDirect3DDevice9* d = *device;
    if (!d)
        return;
    DrawScreenQuad(d, vertexBuffer);
    if (textFont) {
        RECT box = {x, y, x + width - 5, y + height};
        textFont->DrawTextA(NULL, text.getChars(), -1, &box, DT_RIGHT | DT_EXPANDTABS, textColor);
    }
    DrawCaption(captionFont, caption.getChars(), x, y, textColor);
    d->SetTexture(0, texture);
    if (focused) {
        OutlineStyle outline(d);
        if (dragging) {
            outline.DrawHeldGhost(mouseX, mouseY, grabRight, grabBottom, width, height);
        } else {
            const float l = (float)x, t = (float)y;
            const float r = l + (float)width, b = t + (float)height;
            outline.Line(l - 1, t - 2, r + 1, t - 1);
            outline.Line(l - 1, b + 1, r + 1, b + 1);
            outline.Line(l - 1, t - 1, l - 1, b + 1);
            outline.Line(r + 1, t - 1, r + 1, b + 1);
        }
    }
    d->SetTexture(0, NULL);
}

bool InputLine::HandleMouse(short event, int mx, int my)
{
    mouseX = mx;
    mouseY = my;
    if (event == 1) {
        if (StrictlyInside(mx, my, x, y, width, height)) {
            pressX = mx;
            pressY = my;
            grabRight = x + width - mx;
            grabBottom = my - height - y;
            focused = true;
            textColor = kCaptionFocusedColour;
            dragging = true;
            return true;
        }
        focused = false;
        textColor = kCaptionElsewhereColour;
        return false;
    }
    if (event == 2 && dragging && focused) {
        int screenWidth, screenHeight;
        ScreenSize(*device, &screenWidth, &screenHeight);
        x = KeptOnScreen(MovedBy(x, mx, pressX), width, screenWidth);
        y = KeptOnScreen(MovedBy(y, my, pressY), height, screenHeight);
        dragging = false;
        CreateResources();
    }
    return false;
}

void InputLine::HandleKeys(const BYTE keys[256])
{
    if (!focused)
        return;
    const size_t n = text.length();
    if (keyTimer.Elapsed() / 8 <= 200)
        return;

    bool edited = false;
    if ((keys[VK_BACK] & kKeyDown) && !text.empty()) {
        char shorter[Orvex_string::CAPACITY];
        memcpy(shorter, text.getChars(), n);
        shorter[n - 1] = '\0';
        text = shorter;
        edited = true;
    }
    if (keys[VK_RETURN] & kKeyDown) {
        if (!text.empty() && commandQueue)
            commandQueue->AddToId(1, false, text);
        history.Add(text.getChars());
        text = "";
        edited = true;
    }
    if (n >= MAX_TEXT) {
        // A full line takes no character, but an edit still counts as a key taken: without
        // the restart the Backspace still held on the next frame would remove a second one.
        if (edited)
            keyTimer.Start();
        return;
    }
    keyTimer.Start();
    const char typed = TypedCharacter(keys);
    if (typed) {
        const char character[2] = {typed, '\0'};
        text += character;
    }
}
