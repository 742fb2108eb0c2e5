#include "console/log_view.h"

#include <algorithm>
#include <vector>

#include "console/console.h"
#include "console/outline_style.h"
#include "console/screen_quad.h"
#include "console/window_caption.h"
#include "console/window_geometry.h"

namespace {

const D3DCOLOR kThumbColour = 0xFF2D2D37;
const int kRowHeight = 10;

}  // namespace

LogView::LogView(IDirect3DDevice9** device_, Console* console, const char* caption_)
    : device(device_),
      textColor(kCaptionIdleColour),
      backColor(0xFF969696),
      panelBuffer(NULL),
      thumbBuffer(NULL),
      texture(NULL),
      textFont(NULL),
      captionFont(NULL),
      x(0),
      y(0),
      width(5),
      height(15),
      thumbX(0),
      thumbY(0),
      moving(false),
      thumbGrabbed(false),
      topLine(0),
      bottomLine(0),
      pressX(0),
      pressY(0),
      mouseX(0),
      mouseY(0),
      grabRight(0),
      grabBottom(0),
      log(&console->log),
      active(false),
      wheelRest(0),
      indexedLog(NULL)
{
    caption = caption_;
    CreateCaptionFont(*device, &captionFont);
}

LogView::~LogView()
{
    ReleaseConsoleResource(&panelBuffer);
    ReleaseConsoleResource(&thumbBuffer);
    ReleaseConsoleResource(&texture);
    ReleaseConsoleResource(&textFont);
    ReleaseConsoleResource(&captionFont);
}

void LogView::Place(int px, int py, int w, int h, D3DCOLOR)
{
    x = px;
    y = py;
    width = w;
    height = h;
    thumbX = px + w - 8;
    thumbY = py + h - 8;
    topLine = h / kRowHeight - 3;
    bottomLine = 0;
    CreateResources();
}

HRESULT LogView::CreateResources()
{
    ReleaseConsoleResource(&panelBuffer);
    ReleaseConsoleResource(&thumbBuffer);
    ReleaseConsoleResource(&texture);
    ReleaseConsoleResource(&textFont);
    IDirect3DDevice9* d = *device;
    if (!d)
        return E_FAIL;

    if (FAILED(D3DXCreateTextureFromFileA(d, "textures\\_def\\white.bmp", &texture)))
        texture = NULL;

    if (FAILED(CreateScreenQuad(d, (float)x, (float)y, (float)x + (float)width,
                                (float)y + (float)height, 0.1f, backColor, &panelBuffer)))
        return E_FAIL;
    const float tx = (float)thumbX, ty = (float)thumbY;
    if (FAILED(CreateScreenQuad(d, tx - 6, ty - 6, tx + 6, ty + 6, 0.01f, kThumbColour,
                                &thumbBuffer)))
        return E_FAIL;

    D3DXCreateFontA(d, 14, 6, 200, 0, FALSE, DEFAULT_CHARSET, 0, 0, 0, "Courier ", &textFont);
    pressX = x;
    pressY = y;
    return S_OK;
}

void LogView::Draw()
{
    IDirect3DDevice9* d = *device;
    if (!d)
        return;
    d->SetTexture(0, texture);
    DrawScreenQuad(d, panelBuffer);
    DrawScreenQuad(d, thumbBuffer);
    DrawCaption(captionFont, caption.getChars(), x, y, textColor);
    d->SetTexture(0, texture);
    DrawFrame();
    DrawThumbMarker();
    d->SetTexture(0, NULL);
    DrawLines();
}

void LogView::DrawFrame()
{
    if (!active)
        return;
    OutlineStyle outline(*device);
    if (moving) {
        outline.DrawHeldGhost(mouseX, mouseY, grabRight, grabBottom, width, height);
        return;
    }
    const float l = (float)x, t = (float)y;
    const float r = l + (float)width, b = t + (float)height;
    outline.Line(r - 15, t - 1, r - 15, b + 1);
    outline.Line(l - 1, t - 1, r + 1, t - 1);
    outline.Line(l - 1, b + 1, r + 1, b + 1);
    outline.Line(l - 1, t - 1, l - 1, b + 1);
    outline.Line(r + 1, t - 1, r + 1, b + 1);
}

// While the thumb is held a small box follows the cursor beside the right edge; once the cursor
// leaves the band the thumb can travel, the hold ends.
void LogView::DrawThumbMarker()
{
    if (!thumbGrabbed)
        return;
    if (!((long long)y + 6 <= mouseY && (long long)mouseY <= (long long)y + height - 6)) {
        thumbGrabbed = false;
        return;
    }
    OutlineStyle outline(*device);
    const float r = (float)x + (float)width;
    const float top = (float)mouseY - 6, bottom = (float)mouseY + 6;
    outline.Line(r - 13, top, r - 3, top);
    outline.Line(r - 13, bottom, r - 3, bottom);
    outline.Line(r - 3, top, r - 3, bottom);
    outline.Line(r - 13, top, r - 13, bottom);
}

void LogView::DrawLines()
{
    const std::vector<unsigned int>& lines = IndexedLines();
    const long long count = (long long)lines.size();
    const long long first = std::max(count - topLine, 1LL);
    const long long last = std::min(count - bottomLine, count);
    for (long long number = first; number <= last; ++number) {
        const unsigned int line = lines[number - 1];
        const Orvex_string category = log->iLookName(log->TopId(line));
        for (const ConsoleCategory& known : kConsoleCategories) {
            if (category == known.keyword) {
                const long long row = (long long)y + ((long long)topLine - count + number) * kRowHeight;
                DrawEntry(log->iLookName(line), x + 12, (int)row, known.colour);
                break;
            }
        }
    }
}

void LogView::DrawEntry(Orvex_string text, int px, int py, D3DCOLOR colour)
{
    if (!textFont)
        return;
    RECT at = {px, py, 0, 0};
    textFont->DrawTextA(NULL, text.getChars(), -1, &at, DT_NOCLIP, colour);
}

bool LogView::HandleMouse(short event, int mx, int my)
{
    mouseX = mx;
    mouseY = my;
    if (event == 1) {
        if (StrictlyInside(mx, my, x, y, width, height)) {
            grabRight = x + width - mx;
            grabBottom = my - y - height;
            active = true;
            textColor = kCaptionFocusedColour;
            pressX = mx;
            pressY = my;
            const int right = x + width;
            // A press starts a new gesture: whatever an earlier press left held is let go.
            thumbGrabbed = right - 12 < mx && mx < right - 2 && thumbY - 12 < my && my < thumbY + 12;
            moving = !thumbGrabbed;
            return true;
        }
        active = false;
        textColor = kCaptionElsewhereColour;
        return false;
    }
    if (event == 2) {
        if (moving && active) {
            int screenWidth, screenHeight;
            ScreenSize(*device, &screenWidth, &screenHeight);
            const int nx = KeptOnScreen(MovedBy(x, mx, pressX), width, screenWidth);
            const int ny = KeptOnScreen(MovedBy(y, my, pressY), height, screenHeight);
            thumbX = MovedBy(thumbX, nx, x);
            thumbY = MovedBy(thumbY, ny, y);
            x = nx;
            y = ny;
            moving = false;
            CreateResources();
        } else if (thumbGrabbed && active && thumbY - 6 < pressY && pressY < thumbY + 6 &&
                   (long long)y < my && (long long)my < (long long)y + height) {
            Scroll(my);
        }
    }
    return false;
}

namespace {

// A float held to the int range before it is truncated toward zero (a conversion out of range
// has no defined result).
int TruncateHeld(float value)
{
    if (!(value > -2147483648.0f))
        return value != value ? 0 : (int)(-2147483647LL - 1);
    if (value >= 2147483647.0f)
        return 2147483647;
    return (int)value;
}

}  // namespace

// The thumb's height in the panel, as a share of hundredths of the panel, picks how far back
// the window goes. The share divides by height / 100 in whole pixels; a panel lower than 100
// pixels, whose whole share would be 0, divides by its exact hundredth instead.
void LogView::Scroll(int my)
{
    thumbY = my - 6;
    const float n = (float)(unsigned int)log->iCountKnots(1);
    pressX = mouseX;
    pressY = my;
    thumbGrabbed = false;
    const int whole = height / 100;
    const float hundredth = whole > 0 ? (float)whole : (float)height / 100.0f;
    const float p = (float)((long long)height + y - thumbY) / hundredth;
    const float f = p * (n / 100.0f);
    topLine = TruncateHeld((float)(height / kRowHeight - 2) + f - 3.0f);
    bottomLine = TruncateHeld(f - 3.0f);
    CreateResources();
}

int LogView::PageLines() const
{
    return std::max(topLine - bottomLine, 1);
}

void LogView::ScrollLines(long long lines)
{
    const long long count = (long long)IndexedLines().size();
    const long long span = std::max((long long)topLine - bottomLine, 0LL);
    const long long oldest = std::max(count - 1 - span, 0LL);
    const long long bottom = std::min(std::max((long long)bottomLine + lines, 0LL), oldest);
    bottomLine = (int)bottom;
    topLine = (int)(bottom + span);
    PlaceThumb();
}

void LogView::ScrollToOldest()
{
    ScrollLines((long long)IndexedLines().size());
}

void LogView::ScrollToNewest()
{
    ScrollLines(-(long long)bottomLine - 1);
}

bool LogView::HandleWheel(short delta, int mx, int my, int linesPerNotch)
{
    if (!StrictlyInside(mx, my, x, y, width, height))
        return false;
    wheelRest += delta;
    const int notches = wheelRest / WHEEL_DELTA;
    wheelRest -= notches * WHEEL_DELTA;
    if (notches != 0)
        ScrollLines((long long)notches * linesPerNotch);
    return true;
}

// The thumb goes where releasing it would scroll to the present window (the inverse of
// Scroll), held inside the panel, and back to its first place with the newest line at the
// bottom; its quad is rebuilt there.
void LogView::PlaceThumb()
{
    const float n = (float)IndexedLines().size();
    const int whole = height / 100;
    const float hundredth = whole > 0 ? (float)whole : (float)height / 100.0f;
    const float share = n > 0 ? ((float)bottomLine + 3.0f) * 100.0f / n : 0.0f;
    const long long highest = (long long)y + 8, lowest = (long long)y + height - 8;
    long long centre = (long long)y + height - (long long)(share * hundredth);
    if (bottomLine <= 0)
        centre = lowest;
    centre = std::max(std::min(centre, lowest), std::min(highest, lowest));
    thumbY = (int)centre;

    ReleaseConsoleResource(&thumbBuffer);
    IDirect3DDevice9* d = *device;
    const float tx = (float)thumbX, ty = (float)thumbY;
    if (d)
        CreateScreenQuad(d, tx - 6, ty - 6, tx + 6, ty + 6, 0.01f, kThumbColour, &thumbBuffer);
}

// Lines are only ever added at the end of the log, so the index follows it by looking past its
// last entry; a log swapped for another, or emptied, is indexed afresh.
const std::vector<unsigned int>& LogView::IndexedLines()
{
    if (log != indexedLog || lineIndex.size() > (size_t)log->NodeCount()) {
        lineIndex.clear();
        indexedLog = log;
    }
    unsigned int next = lineIndex.empty() ? log->TopId(1) : log->NextId(lineIndex.back());
    for (; next; next = log->NextId(next))
        lineIndex.push_back(next);
    return lineIndex;
}
