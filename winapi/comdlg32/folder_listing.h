// What the open dialog lists: a folder's sub-folders and matching files, and the path
// arithmetic of names typed relative to the shown folder.
#pragma once

#include <string>
#include <vector>

#include "comdlg32/file_filter.h"

namespace winapi {

struct FolderEntry {
    std::string name;
    bool isFolder = false;
};

// ".." (except at the root), then sub-folders, then the files matching `patterns` (all
// files when empty), each group sorted by name ignoring case. Names starting with '.'
// are left out unless `showHidden`. False when the folder cannot be read.
bool listFolder(const std::string& folder, const std::vector<std::string>& patterns, bool showHidden,
                std::vector<FolderEntry>& entries);

// `name` resolved against `folder` when relative, with "." and ".." folded away and
// repeated '/' collapsed.
std::string resolvePath(const std::string& folder, const std::string& name);

// The folder holding `path` ("/" for a top-level entry).
std::string parentFolder(const std::string& path);

// The process's current folder, or "/" when it cannot be found.
std::string currentFolder();

bool isFolder(const std::string& path);
bool pathExists(const std::string& path);

}  // namespace winapi
