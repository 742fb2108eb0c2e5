#include "console/log_view.h"

#include "console/console.h"

LogView::LogView(IDirect3DDevice9** device, Console* console, const char* caption)
    : device(device),
      textColor(0xFF91919B),
      backColor(0xFF969696),
      x(0),
      y(0),
      width(5),
      height(15),
      log(&console->log),
      active(false)
{
    this->caption = caption;
}

LogView::~LogView() {}

void LogView::Place(int px, int py, int w, int h, D3DCOLOR colour)
{
    x = px;
    y = py;
    width = w;
    height = h;
    backColor = colour;
}

void LogView::Draw() {}

bool LogView::HandleMouse(short, int, int)
{
    return false;
}
