#include "gl_device.h"

GL_Device* GL_Device::Of(IDirect3DDevice9* device) { return dynamic_cast<GL_Device*>(device); }
