#include "console/input_line.h"

InputLine::InputLine(IDirect3DDevice9** device, DynamicRow* commandQueue, const char* caption)
    : device(device),
      textColor(0xFF91919B),
      backColor(0xFFFAFA64),
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
      commandQueue(commandQueue)
{
    this->caption = caption;
    keyTimer.Start();
}

InputLine::~InputLine() {}

HRESULT InputLine::CreateResources()
{
    pressX = x;
    pressY = y;
    return S_OK;
}

void InputLine::Draw() {}

bool InputLine::HandleMouse(short, int mx, int my)
{
    mouseX = mx;
    mouseY = my;
    return false;
}

void InputLine::HandleKeys(const BYTE*) {}
