#pragma once

#include <cstdint>
#include <string>

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case, 38 characters.
std::string GuidText(std::uint32_t data1, std::uint16_t data2, std::uint16_t data3,
                     const std::uint8_t (&data4)[8]);
