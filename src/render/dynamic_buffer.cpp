#include "render/dynamic_buffer.h"

#include <epoxy/gl.h>

namespace morvanex {

DynamicVertexBuffer::~DynamicVertexBuffer() { release(); }

bool DynamicVertexBuffer::create(std::size_t capacity) {
    release();
    while (glGetError() != GL_NO_ERROR) {
    }
    glGenBuffers(1, &buffer_);
    glBindBuffer(GL_ARRAY_BUFFER, buffer_);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(capacity), nullptr, GL_STREAM_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    if (buffer_ == 0 || glGetError() != GL_NO_ERROR) {
        release();
        return false;
    }
    capacity_ = capacity;
    return true;
}

void DynamicVertexBuffer::release() {
    if (buffer_ != 0) glDeleteBuffers(1, &buffer_);
    buffer_ = 0;
    capacity_ = 0;
}

bool DynamicVertexBuffer::write(const void* data, std::size_t size) {
    if (buffer_ == 0 || size > capacity_) return false;
    glBindBuffer(GL_ARRAY_BUFFER, buffer_);
    // A fresh store each use: the draw that read the old one never waits.
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(capacity_), nullptr, GL_STREAM_DRAW);
    if (size != 0) glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(size), data);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return true;
}

}  // namespace morvanex
