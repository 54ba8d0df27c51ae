#pragma once
// The settings file Dump/All_dat.ini. Every read or write opens the file anew: the file on disk is
// the only copy, so every reader sees the last value written.
#include <string>
#include <string_view>

namespace settings {

inline constexpr char kProgramSection[] = "Programma";
inline constexpr char kLanguageKey[] = "Taalkeuze";
inline constexpr char kLanguageAskedKey[] = "Taalscherm";
// "1" when a fog run also makes fogged copies for Open Rails; missing or "0": it does not.
inline constexpr char kOpenRailsKey[] = "OpenRails";
inline constexpr char kLocationSection[] = "msts locatie";
inline constexpr char kPathKey[] = "Pad";

std::string SettingsFile();

// Missing file, section or key: empty text.
std::string ReadString(std::string_view section, std::string_view key);
// Throws platform::ProfileWriteError ("Unable to write to <path>") when the file cannot be written.
void WriteString(std::string_view section, std::string_view key, std::string_view value);

bool ReadBool(std::string_view section, std::string_view key, bool def);

// The simulator (or Open Rails content) folder the player confirmed, exactly as stored; empty
// before the first confirmation.
std::string StoredSimulatorFolder();
void WriteBool(std::string_view section, std::string_view key, bool value);

// A profile value read as a whole number: "0x"/"0X" (longer than 2) or "$" mark hex,
// otherwise a signed decimal; anything else gives `def`. Nonzero is true.
bool ParseProfileBool(std::string_view text, bool def);

}  // namespace settings
