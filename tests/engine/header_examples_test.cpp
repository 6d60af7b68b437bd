// The engine's headers carry worked examples ("input -> output"). This test reads
// the headers themselves and replays every example, so that the documentation
// and the code cannot drift apart. A minimum count per header keeps a broken
// parse from passing with nothing checked.

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "engine/calculator_state.h"
#include "engine/decibel_computation.h"
#include "engine/number_text.h"
#include "engine/result_texts.h"

namespace tavolen {
namespace {

std::string ReadHeader(const std::string& name) {
    std::ifstream file(std::string(TAVOLEN_SOURCE_DIR) + "/engine/" + name);
    EXPECT_TRUE(file.good()) << "cannot open engine/" << name;
    std::stringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

double ParseDouble(const std::string& text) {
    return std::strtod(text.c_str(), nullptr);
}

template <typename Visit>
int ForEachMatch(const std::string& text, const std::regex& pattern, Visit visit) {
    int count = 0;
    for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it) {
        visit(*it);
        ++count;
    }
    return count;
}

TEST(HeaderExamples, EveryFormatearCifraExampleOfNumberTextHolds) {
    const std::regex example(R"re(FormatearCifra\((-?[0-9.e+-]+), "([^"]*)"\)\s*->\s*"([^"]*)")re");
    const int count = ForEachMatch(ReadHeader("number_text.h"), example, [](const std::smatch& m) {
        EXPECT_EQ(FormatearCifra(ParseDouble(m[1]), m[2].str()), m[3].str()) << m[0];
    });
    EXPECT_GE(count, 14);
}

TEST(HeaderExamples, EveryLeerCifraExampleOfNumberTextHolds) {
    const std::regex example(R"re(LeerCifra\("([^"]*)"\)\s*->\s*(nullopt|-?[0-9.]+))re");
    const int count = ForEachMatch(ReadHeader("number_text.h"), example, [](const std::smatch& m) {
        const std::optional<double> read = LeerCifra(m[1].str());
        if (m[2] == "nullopt") {
            EXPECT_FALSE(read.has_value()) << m[0];
            return;
        }
        ASSERT_TRUE(read.has_value()) << m[0];
        // Bit for bit, so that "-0.0" also promises the sign of the zero.
        EXPECT_EQ(std::bit_cast<std::uint64_t>(*read),
                  std::bit_cast<std::uint64_t>(ParseDouble(m[2])))
            << m[0] << " read " << *read;
    });
    EXPECT_GE(count, 16);
}

TEST(HeaderExamples, EveryLog10ExampleOfDecibelComputationHolds) {
    const std::regex example(R"re(Log10\(([0-9.]+)\) is ([0-9.]+))re");
    const int count =
        ForEachMatch(ReadHeader("decibel_computation.h"), example, [](const std::smatch& m) {
            EXPECT_EQ(Log10(ParseDouble(m[1])), ParseDouble(m[2])) << m[0];
        });
    EXPECT_GE(count, 2);
}

TEST(HeaderExamples, EveryFactorExampleOfResultTextsHolds) {
    const std::regex example(R"re(Db1 = (-?[0-9.]+)\s*-> txtFv "([^"]*)",\s*txtFp "([^"]*)")re");
    const int count = ForEachMatch(ReadHeader("result_texts.h"), example, [](const std::smatch& m) {
        CalculatorState estado;
        estado.Db1 = ParseDouble(m[1]);
        CalcularResultados(estado);
        const TextosResultados textos = TextosDeResultados(estado);
        EXPECT_EQ(textos.txtFv, m[2].str()) << m[0];
        EXPECT_EQ(textos.txtFp, m[3].str()) << m[0];
    });
    EXPECT_GE(count, 3);
}

}  // namespace
}  // namespace tavolen
