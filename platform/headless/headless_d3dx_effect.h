#pragma once
// Effects on the headless platform. They are read and compiled exactly as the native ones (the
// same preprocessor, parser and HLSL compiler decide whether creation succeeds, and the same
// messages come back in the error buffer), but they make no device call: every call that sets
// a value, selects a technique or runs a pass appends one line to the call log instead,
//   effect <path> <call>(<arguments>)
// where <path> is the file name as the caller gave it to D3DXCreateEffectFromFileA ("memory"
// for D3DXCreateEffect). For example
//   effect fx/a.fx SetVector(View_Pos, 1 2 3 1)
//   effect fx/a.fx SetMatrix(matWorld, 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1)
//   effect fx/a.fx SetFloat(LightFalloff, 1000)
//   effect fx/a.fx SetTechnique(vor_Phong)
//   effect fx/a.fx Begin(0)
//   effect fx/a.fx BeginPass(0)
//   effect fx/a.fx CommitChanges()
//   effect fx/a.fx EndPass()
//   effect fx/a.fx End()
// Arguments: a handle is the name of what it stands for (a name given as a handle is written as
// given; a null handle is "null"); numbers are written with printf's %g, separated by one blank
// (SetVector 4, SetMatrix 16 in row order, arrays every element given); SetInt and SetBool write
// the integer; SetTexture writes "texture" or "null"; SetString writes the text in double quotes;
// SetValue writes the byte count ("12 bytes"), SetRawValue the offset and the byte count
// ("SetRawValue(v, 8, 4 bytes)"); Begin writes its flags in decimal.
// The calls logged are SetValue, SetRawValue, SetBool, SetBoolArray, SetInt, SetIntArray,
// SetFloat, SetFloatArray, SetVector, SetVectorArray, SetMatrix, SetMatrixArray,
// SetMatrixTranspose, SetString, SetTexture, SetTechnique, Begin, BeginPass, CommitChanges,
// EndPass and End. A call that fails (a parameter or technique the effect lacks, a pass out of
// order) is logged too, with " -> failed" appended. Look-ups and getters are not logged.
//
// Each creation, whether it succeeds or not, appends
//   D3DXCreateEffectFromFileA("<path>")
// (D3DXCreateEffect: "D3DXCreateEffect(<n> bytes)") followed by " -> failed" when it failed.
