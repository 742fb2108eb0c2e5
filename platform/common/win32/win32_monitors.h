#pragma once
// The number of display monitors, each realization its own: platform/native counts the
// displays SDL reports (0 on its offscreen and dummy drivers, which stand in for a missing
// display); platform/headless has one. GetSystemMetrics(SM_CMONITORS) answers it.
int win32_monitor_count();
