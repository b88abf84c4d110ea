#include "render/result_codes.h"

#include <epoxy/gl.h>

#include <cstdio>

namespace morvanex {

std::string ResultCodeName(ResultCode code) {
    switch (code) {
    case hr::S_OK: return "S_OK";
    case hr::S_FALSE: return "S_FALSE";
    case hr::E_FAIL: return "E_FAIL";
    case hr::E_OUTOFMEMORY: return "E_OUTOFMEMORY";
    case hr::E_INVALIDARG: return "E_INVALIDARG";
    case hr::D3DERR_WASSTILLDRAWING: return "D3DERR_WASSTILLDRAWING";
    case hr::D3DERR_INVALIDCALL: return "D3DERR_INVALIDCALL";
    case hr::D3D11_ERROR_TOO_MANY_UNIQUE_STATE_OBJECTS: return "D3D11_ERROR_TOO_MANY_UNIQUE_STATE_OBJECTS";
    case hr::D3D11_ERROR_FILE_NOT_FOUND: return "D3D11_ERROR_FILE_NOT_FOUND";
    case hr::D3D11_ERROR_TOO_MANY_UNIQUE_VIEW_OBJECTS: return "D3D11_ERROR_TOO_MANY_UNIQUE_VIEW_OBJECTS";
    case hr::D3D11_ERROR_DEFERRED_CONTEXT_MAP_WITHOUT_INITIAL_DISCARD:
        return "D3D11_ERROR_DEFERRED_CONTEXT_MAP_WITHOUT_INITIAL_DISCARD";
    default: return "Indetermin\xE9";
    }
}

std::string AudioResultCodeName(ResultCode code) {
    switch (code) {
    case hr::S_OK: return "S_OK";
    case hr::E_FAIL: return "E_FAIL";
    case hr::E_INVALIDARG: return "E_INVALIDARG";
    case hr::ERROR_FILE_NOT_FOUND: return "ERROR_FILE_NOT_FOUND";
    default: break;
    }
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(code));
    return text;
}

ResultCode resultFromGlError(std::uint32_t glError) {
    switch (glError) {
    case GL_NO_ERROR: return hr::S_OK;
    case GL_OUT_OF_MEMORY: return hr::E_OUTOFMEMORY;
    // A value or enum the driver refuses is a bad argument of the call.
    case GL_INVALID_ENUM:
    case GL_INVALID_VALUE: return hr::E_INVALIDARG;
    default: return hr::E_FAIL;
    }
}

ResultCode resultFromFramebufferStatus(std::uint32_t status) {
    switch (status) {
    case GL_FRAMEBUFFER_COMPLETE: return hr::S_OK;
    // The format and sample combination is not one the driver can draw into.
    case GL_FRAMEBUFFER_UNSUPPORTED:
    case GL_FRAMEBUFFER_INCOMPLETE_MULTISAMPLE: return hr::E_INVALIDARG;
    default: return hr::E_FAIL;
    }
}

}  // namespace morvanex
