#pragma once

// Where the product is installed, and whether a folder may have its files deleted.

#include <windows.h>

#include <string>

// Reads the install folder from the product's UninstallString: the path after "-f" without its last
// element, cut at its last backslash or slash, with every slash written as a backslash. False, with
// folder unchanged, when the entry is missing or unreadable, has no usable "-f" token, or names a
// folder that is not an absolute path.
bool LocateInstallFolder(std::string& folder);

// True when the folder must never have its files deleted: a drive root, a share root, an
// administrative share, a folder stream, or the system's Windows folder or any folder below it,
// judged on the folder's full path.
bool IsProtectedFolder(const std::string& folder);

// The opened folder's path where it really is, in the plain form ("C:\...", "\\server\share\..."):
// symbolic links, junctions, mount points and subst drives resolved at every level. The text comes
// through the best-fit table, so it is opened again and must lead to the same folder. False when that
// cannot be had or proven, or when the folder must never be emptied: a protected folder by its name,
// or the Windows folder, a folder below it or the root of its volume by its identity.
bool GetRealFolder(HANDLE folder, std::string& real);
