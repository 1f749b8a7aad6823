#pragma once
// The owner-details workbook keeps its six strings enciphered, character by character, with a
// substitution table of the program's own. A site writes its own workbook with `encipher`
// (kalvar-cli encipher TEXT); the program reads it back with `decipher`.
#include <string>

namespace kalvar {

// Deciphers a stored string (UTF-8): every character of the table's alphabet is replaced by its
// plain counterpart; characters outside the alphabet and bytes that are not UTF-8 stay as they are.
std::string decipher(const std::string& stored);

// The inverse of decipher: decipher(encipher(s)) == s for every s.
std::string encipher(const std::string& plain);

} // namespace kalvar
