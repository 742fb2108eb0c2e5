#pragma once
#include <d3d9.h>
