// Text rules of the property dialogs' input frames: the action editor's line breaks, colour
// answers from the host's picker, and the field a file button fills.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// "[#13]" becomes CR and then "[#10]" LF: the text the host's action editor opens on.
std::string ScriptToEditorText(std::string_view field);
// Each CR LF pair of the editor's answer becomes "[#13][#10]", so it fits on one line.
std::string EditorTextToScript(std::string_view answer);

// A colour as the host's picker names it: a colour constant name ("clRed", any case) or an
// integer text in the toolkit's encoding (red in the low byte; "$FF", "0xFF", "255").
// System colours (high byte 0x80) come back unresolved; nullopt for anything else.
std::optional<std::uint32_t> ParseColorAnswer(std::string_view answer);
inline bool IsSystemColor(std::uint32_t color) { return (color & 0xFF000000u) == 0x80000000u; }

// The field's text with `path` added: the path alone for an empty field, else "|" and the path.
std::string AppendPath(std::string_view field, std::string_view path);
