#pragma once
// The name a headless resource goes by in the call log (tex#1, vb#2, or a label a test or D3DX
// gave it).
#include <string>

class D3D9_Headless_Label {
public:
    explicit D3D9_Headless_Label(std::string label) : label(std::move(label)) {}
    virtual ~D3D9_Headless_Label() = default;
    std::string label;
};
