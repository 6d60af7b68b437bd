#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavolen {

// Numbers are written the Spanish way: a comma before the decimals and a point
// between groups of three integer digits.
//
// A display pattern is "##,##0", optionally followed by "." and N zeros (N <= 20).
// In the pattern "," asks for grouping and "." marks the decimals; in the text
// the two swap roles. These are the seven the calculator uses:
inline constexpr std::string_view kPatronEntero = "##,##0";
inline constexpr std::string_view kPatron2Decimales = "##,##0.00";
inline constexpr std::string_view kPatron3Decimales = "##,##0.000";
inline constexpr std::string_view kPatron4Decimales = "##,##0.0000";
inline constexpr std::string_view kPatron6Decimales = "##,##0.000000";
inline constexpr std::string_view kPatron8Decimales = "##,##0.00000000";
inline constexpr std::string_view kPatron12Decimales = "##,##0.000000000000";

// Formats a finite value: first to its nearest 15-significant-digit decimal
// (an exact tie between two goes to the even one), then to N decimals with
// halves away from zero. Every integer digit is written, positions past the
// 15th significant digit as zeros. A negative value keeps its "-" even when
// every digit shown is zero; the double -0.0 is not negative.
//
//   FormatearCifra(1234.5, "##,##0.0000")            -> "1.234,5000"
//   FormatearCifra(-1234.5, "##,##0.0000")           -> "-1.234,5000"
//   FormatearCifra(0, "##,##0")                      -> "0"
//   FormatearCifra(999.5, "##,##0")                  -> "1.000"
//   FormatearCifra(-2.5, "##,##0")                   -> "-3"
//   FormatearCifra(2.00005, "##,##0.0000")           -> "2,0001"   (the double lies below the half)
//   FormatearCifra(1.005, "##,##0.00")               -> "1,01"
//   FormatearCifra(999.99995, "##,##0.0000")         -> "1.000,0000"
//   FormatearCifra(5e-13, "##,##0.000000000000")     -> "0,000000000001"
//   FormatearCifra(-0.00004, "##,##0.0000")          -> "-0,0000"
//   FormatearCifra(-0.0, "##,##0.0000")              -> "0,0000"
//   FormatearCifra(1e20, "##,##0.000")               -> "100.000.000.000.000.000.000,000"
//   FormatearCifra(123456789012345678, "##,##0")     -> "123.456.789.012.346.000"
//   FormatearCifra(1234567.891, "##,##0.00000000")   -> "1.234.567,89100000"
std::string FormatearCifra(double valor, std::string_view patron);

// Reads a field text: an optional leading "-", integer digits among which any
// number of "." may stand (they group and carry no value), then optionally one
// "," and decimal digits. At least one digit. The value is the double nearest
// to the decimal number; a number beyond the largest double is not a number,
// a non-zero number below the smallest reads as 0 or a subnormal. Anything else
// (spaces, "+", exponents, "inf", non-ASCII, a NUL) is not a number.
//
//   LeerCifra("1.234,500") -> 1234.5        LeerCifra("")      -> nullopt
//   LeerCifra("1234,5")    -> 1234.5        LeerCifra(",")     -> nullopt
//   LeerCifra("5,")        -> 5             LeerCifra("-")     -> nullopt
//   LeerCifra(",5")        -> 0.5           LeerCifra("-,")    -> nullopt
//   LeerCifra("-,5")       -> -0.5          LeerCifra("1,2,3") -> nullopt
//   LeerCifra(".5")        -> 5             LeerCifra("5-")    -> nullopt
//   LeerCifra("-0,0000")   -> -0.0 (zero)   LeerCifra("1,2.3") -> nullopt
//   LeerCifra("0,000")     -> 0             LeerCifra("12a")   -> nullopt
std::optional<double> LeerCifra(std::string_view texto);

}  // namespace tavolen
