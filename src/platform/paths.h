// Paths as the file actions see them. Device names ("CON", "AUX", "COM1", "x\NUL.txt",
// "\\.\PhysicalDrive0") pass the attribute test like files, but reading one can wait for ever
// on a port and writing one sends the bytes to a device: no action opens one.
#pragma once

#include <string>
#include <string_view>

bool IsDevicePath(std::string_view path);

// `path` made absolute, as failure texts name files; the path itself when Windows cannot.
std::string FullPath(const std::string& path);
