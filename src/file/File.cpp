// File: the reference count and name shared by every kind of file.
#include "file/File.h"

#include <utility>

File::File(std::string name) : name_(std::move(name)) {}

File::~File() = default;

void File::addRef() { ++refCount_; }

void File::release() {
    if (--refCount_ == 0) delete this;
}
