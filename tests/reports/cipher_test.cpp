#include <gtest/gtest.h>

#include "cipher.h"

using kalvar::decipher;
using kalvar::encipher;

TEST(Cipher, EveryOwnerTextComesBackUnchanged) {
    for (const std::string plain :
         {"ООО «Пример-Теплообмен»", "220000, г. Примерск, ул. Образцовая, 1, оф. 12", "+000 (00) 000-00-00",
          "www.example.com", "info@example.org", "КM", "", "Ёлка ёж Ў ў І і № – —", "tab\tand\nline"}) {
        EXPECT_EQ(decipher(encipher(plain)), plain) << plain;
    }
}

TEST(Cipher, StoredTextDiffersFromPlainAndKeepsItsLength) {
    const std::string plain = "Примерск";
    const std::string stored = encipher(plain);
    EXPECT_NE(stored, plain);
    EXPECT_EQ(decipher(stored), plain);
    EXPECT_NE(encipher("a"), encipher("b"));
}

TEST(Cipher, CharactersOutsideTheTableAndBrokenBytesPassThrough) {
    EXPECT_EQ(decipher("€"), "€"); // not in the alphabet
    EXPECT_EQ(decipher("😀"), "😀"); // four-byte character
    const std::string broken = std::string("\xD0") + "\xFF";
    EXPECT_EQ(decipher(broken), broken); // not UTF-8: left alone, never cut
    EXPECT_EQ(decipher(encipher("a\xD0")), "a\xD0");
}
