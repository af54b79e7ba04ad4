#pragma once
// The supported drive models, the listed boards, the three updater builds and the rule that
// picks one of them.
#include <cstddef>
#include <functional>
#include <string>

namespace hardware {

// Every model row is 20 characters: the brand word, one space and a 14-character model code.
constexpr std::size_t kModelLength = 20;

constexpr const wchar_t* kFamilyAModels[4] = {
    L"KAVLO MDRVA1K080B2QZ",
    L"KAVLO MDRVA2K080B2QZ",
    L"KAVLO MDRVA1K160B2QZ",
    L"KAVLO MDRVA2K160B2QZ",
};

constexpr const wchar_t* kFamilyBModels[6] = {
    L"KAVLO MDRVA2LT080B3Q", L"KAVLO MDRVA2LT120B3Q", L"KAVLO MDRVA2LT160B3Q",
    L"KAVLO MDRVA2LT300B3Q", L"KAVLO MDRVA1NT080B3Q", L"KAVLO MDRVA1NT160B3Q",
};

constexpr const wchar_t* kListedBoards[8] = {
    L"4B02", L"4B03", L"4B10", L"4B11", L"4B24", L"4B25", L"4B36", L"4B37",
};

constexpr const wchar_t* kUpdaterFamilyAListedBoard = L"sorvid_qz_2.3.1_2m6.exe";
constexpr const wchar_t* kUpdaterFamilyAOtherBoard = L"sorvid_qz_2.3.2_2m3.exe";
constexpr const wchar_t* kUpdaterFamilyB = L"sorvid_qz_2.1.0.exe";

// Family A takes precedence, and only a family A drive asks for the board. Empty when neither
// family was found (the sequence never gets here then).
std::wstring ChooseUpdaterFileName(bool familyA, bool familyB,
                                   const std::function<bool()>& isListedBoard);

} // namespace hardware
