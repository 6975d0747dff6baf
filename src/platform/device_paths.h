// Device names ("CON", "AUX", "COM1", "x\NUL.txt", "\\.\PhysicalDrive0") pass the attribute
// test like files, but reading one can wait forever on a port and writing one sends the bytes
// to a device: no action opens one.
#pragma once

#include <string_view>

bool IsDevicePath(std::string_view path);
