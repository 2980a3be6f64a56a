#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace kx::test {

// A text that shows no value that is not a number: no "nan" or "inf", in
// small or in capital letters.
inline ::testing::AssertionResult FiniteText(std::string_view text) {
    for (const char* word : {"nan", "inf", "NAN", "INF"}) {
        if (text.find(word) != std::string_view::npos) {
            return ::testing::AssertionFailure() << "\"" << text << "\" shows " << word;
        }
    }
    return ::testing::AssertionSuccess();
}

// Every line of every list is such a text.
inline ::testing::AssertionResult FiniteTexts(
    std::initializer_list<const std::vector<std::string>*> lists) {
    for (const std::vector<std::string>* list : lists) {
        for (const std::string& line : *list) {
            if (::testing::AssertionResult finite = FiniteText(line); !finite) return finite;
        }
    }
    return ::testing::AssertionSuccess();
}

}  // namespace kx::test
