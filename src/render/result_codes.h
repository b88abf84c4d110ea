// Result codes of the graphics and sound calls, in the classic 32-bit
// HRESULT form, and their texts for the trace log ("Call, hr = NAME").
// OpenGL reports failures differently (glGetError, framebuffer status); they
// are mapped onto these codes so that every trace line keeps one form.
#pragma once

#include <cstdint>
#include <string>

namespace morvanex {

using ResultCode = std::uint32_t;

namespace hr {
inline constexpr ResultCode S_OK = 0x00000000u;
inline constexpr ResultCode S_FALSE = 0x00000001u;
inline constexpr ResultCode E_FAIL = 0x80004005u;
inline constexpr ResultCode E_OUTOFMEMORY = 0x8007000Eu;
inline constexpr ResultCode E_INVALIDARG = 0x80070057u;
inline constexpr ResultCode D3DERR_WASSTILLDRAWING = 0x8876021Cu;
inline constexpr ResultCode D3DERR_INVALIDCALL = 0x8876086Cu;
inline constexpr ResultCode D3D11_ERROR_TOO_MANY_UNIQUE_STATE_OBJECTS = 0x887C0001u;
inline constexpr ResultCode D3D11_ERROR_FILE_NOT_FOUND = 0x887C0002u;
inline constexpr ResultCode D3D11_ERROR_TOO_MANY_UNIQUE_VIEW_OBJECTS = 0x887C0003u;
inline constexpr ResultCode D3D11_ERROR_DEFERRED_CONTEXT_MAP_WITHOUT_INITIAL_DISCARD = 0x887C0004u;
inline constexpr ResultCode ERROR_FILE_NOT_FOUND = 0x88790002u;  // the sound system's "file not found"
}  // namespace hr

constexpr bool succeeded(ResultCode code) { return (code & 0x80000000u) == 0; }
constexpr bool failed(ResultCode code) { return !succeeded(code); }

// Text of a graphics result (shader and device lines); any code outside the
// known ones is "Indetermin\xE9" (Windows-1252, like every text of the program).
std::string ResultCodeName(ResultCode code);

// Text of a start-up or sound result; any code outside the known ones is
// "0x" and its lower-case hexadecimal digits without leading zeros.
std::string AudioResultCodeName(ResultCode code);

// OpenGL failures as result codes: a glGetError value (GL_NO_ERROR is S_OK)
// and a glCheckFramebufferStatus value (GL_FRAMEBUFFER_COMPLETE is S_OK).
ResultCode resultFromGlError(std::uint32_t glError);
ResultCode resultFromFramebufferStatus(std::uint32_t status);

}  // namespace morvanex
