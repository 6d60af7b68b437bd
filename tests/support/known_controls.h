#pragma once

#include <QLineEdit>
#include <QString>

#include <array>

#include "engine/calculator_state.h"
#include "tests/support/open_window.h"

namespace tavolen {

// What the tests know of each entry field, written down here from the window's
// description rather than taken from the code under test (fields/field_table.h
// holds the product's own table): a test that reads a field's stored value
// through this row catches a field that stores into the wrong variable.
struct EntryField {
    const char* name;
    const char* zeroText;            // what clearing writes and a rejection leaves
    double CalculatorState::*input;  // where an accepted leave commit stores
    bool mayBeNegative;              // only txtDb1 takes a minus sign
};

inline constexpr std::array<EntryField, 6> kEntryFields{{
    {"txtV1", "0,000", &CalculatorState::V1, false},
    {"txtV2", "0,0000", &CalculatorState::V2, false},
    {"txtP1", "0,000", &CalculatorState::P1, false},
    {"txtP2", "0,0000", &CalculatorState::P2, false},
    {"txtDb1", "0,0000", &CalculatorState::Db1, true},
    {"txtF1", "0,0000", &CalculatorState::F1, false},
}};

// The six result displays, in the order of TextosResultados.
inline constexpr std::array<const char*, 6> kResultDisplays{"lblDbv", "lblDbp",  "txtFv",
                                                            "txtFp",  "lblDbfv", "lblDbfp"};

// Every control of the window: 22 labels, 8 text boxes, 2 buttons, 2 picture
// boxes, the banner and 3 lines.
inline constexpr std::array<const char*, 38> kAllControls{
    "lblTitulo", "Label1",   "Label3",      "Label7",   "lblTensiones",  "txtV1",    "txtV2",
    "lblDbv",    "Label6",   "Label5",      "Label4",   "lblCorrientes", "txtP1",    "txtP2",
    "lblDbp",    "Label10",  "Label11",     "Label12",  "lblDecibelios", "txtDb1",   "txtFv",
    "txtFp",     "Label19",  "Label20",     "Label21",  "Label17",       "txtF1",    "lblDbfv",
    "lblDbfp",   "Picture1", "cmdCalcular", "Picture2", "imgLogo",       "cmdReset", "Label2",
    "Line3",     "Line1",    "Line2"};

// Index in kEntryFields of `widget`, an entry field of the page's window, or -1.
inline int EntryFieldIndex(VentanaAbierta& page, const QWidget* widget) {
    for (std::size_t i = 0; i < kEntryFields.size(); ++i) {
        if (&page.campo(QString::fromLatin1(kEntryFields[i].name)) == widget)
            return static_cast<int>(i);
    }
    return -1;
}

}  // namespace tavolen
