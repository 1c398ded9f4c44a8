// The exceptions that carry every I/O failure: IOException and FileNotFoundException.
#pragma once

#include <stdexcept>
#include <string>

// A read or open failed; what() is the message given.
class IOException : public std::runtime_error {
public:
    explicit IOException(const std::string& message) : std::runtime_error(message) {}
};

// Opening failed because the file, or a folder on its path, does not exist.
class FileNotFoundException : public IOException {
public:
    explicit FileNotFoundException(const std::string& path)
        : IOException("Unable to find file:\n" + path) {}
};
