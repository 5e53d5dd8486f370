#pragma once

#include <QDialog>

#include <array>

#include "catalog/grid/colour.h"
#include "store/settings.h"

class QLabel;

namespace catalog {

inline constexpr int kColourRoleCount = 12;
inline constexpr int kPaletteColumns = 4;
inline constexpr int kPaletteRows = 6;
inline constexpr int kPaletteSize = kPaletteColumns * kPaletteRows;

struct ColourRole {
    const char* caption;
    store::Key key;
};
// The colour roles in the order of the dialog's swatches 1 to 11.
extern const ColourRole kColourRoles[kColourRoleCount];

// Palette colour `index` (row x 4 + column); some entries differ on a display
// of at most 256 colours. An index outside the palette gives black.
grid::ColourRef PaletteColour(int index, bool lowColour);

class ColourSwatch;
class PaletteView;

// Lets the person choose the colours of the catalog window: its lists, their
// ruled lines, the column titles and the buttons.
//
// The colour dialog "オプション設定": a swatch and a name per colour role, the
// 24-colour palette COLVIW, "ｶｽﾀﾑ色" (the platform colour chooser COLDIALOG),
// OK and ｷｬﾝｾﾙ. Clicking a swatch or a name selects its role; a palette
// click or a chosen custom colour sets the selected swatch. Nothing is
// written here: the caller takes Colours() after OK.
class OptionForm : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kResultOk = 1;
    static constexpr int kResultCancel = -1;

    OptionForm(const std::array<grid::ColourRef, kColourRoleCount>& current, bool lowColour,
               QWidget* parent = nullptr);

    // Shows the dialog modally: kResultOk or kResultCancel (also for closing).
    int ShowModal();
    int Result() const { return result_; }
    const std::array<grid::ColourRef, kColourRoleCount>& Colours() const { return colours_; }
    // The selected role (1 to 11), 0 for none.
    int SelectedRole() const { return selected_; }
    void SelectRole(int role);
    // A release on the palette at (x, y); beeps without a selected role.
    void PickFromPalette(QPoint position);
    void ChooseCustomColour();

  private:
    void SetSwatch(int role, grid::ColourRef colour);

    std::array<grid::ColourRef, kColourRoleCount> colours_;
    bool lowColour_;
    std::array<ColourSwatch*, kColourRoleCount> swatches_{};
    std::array<QLabel*, kColourRoleCount> names_{};
    PaletteView* palette_ = nullptr;
    int selected_ = 0;
    int result_ = 0;
};

}  // namespace catalog
