// Code-space constants shared by the LZH encoder and decoder.
#pragma once

namespace archiver::lzh {

constexpr int kMinMatch = 3;
constexpr int kMaxMatch = 256;
constexpr int kCharCodes = 256 + kMaxMatch - kMinMatch + 1;  // NC: literals and lengths
constexpr int kCharCodeBits = 9;                             // CBIT
constexpr int kTreeCodes = 19;                               // NT: codes of the length table
constexpr int kTreeCodeBits = 5;                             // TBIT
constexpr int kMaxBlockSymbols = 0xFFFF;

}  // namespace archiver::lzh
