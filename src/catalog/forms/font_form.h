#pragma once

#include <QDialog>
#include <QFont>
#include <QStringList>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace catalog {

// Lets the person choose the font of the catalog window's two lists.
//
// The font dialog "フォントの変更": the font list FONLST, the sample SMPDSP
// whose font is the dialog's working font, its size label, the size buttons
// (－ and ＋ by 0.75 point, kept within 8 to 17 points), the bold box 太字,
// OK and ｷｬﾝｾﾙ. Nothing is written here: the caller takes SampleFont()
// after OK.
class FontForm : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kResultOk = 1;
    static constexpr int kResultCancel = 2;
    static constexpr double kSizeStep = 0.75;
    static constexpr double kLeastSize = 8.0;
    static constexpr double kLargestSize = 17.0;

    // `screenNames`: the screen's font names in their order.
    explicit FontForm(const QStringList& screenNames, QWidget* parent = nullptr);

    // The sample's font and text (CR breaks lines). A text that is not
    // empty selects the font's entry in the list and sets 太字 and the label.
    void SetSample(const QFont& font, const QString& text);
    QFont SampleFont() const { return sample_; }
    QString SampleText() const { return sampleText_; }
    QStringList ListedNames() const;

    // Shows the dialog modally: kResultOk or kResultCancel (also for closing).
    int ShowModal();
    // SIZBTN(index): 0 smaller, 1 larger; a size outside 8 to 17 beeps.
    void StepSize(int index);

  protected:
    void keyReleaseEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void ShowSample();
    void OnListClicked();
    void OnBoldClicked();

    QListWidget* fonlst_ = nullptr;
    QLabel* smpdsp_ = nullptr;
    QLabel* coldsp_ = nullptr;
    QPushButton* sizbtn_[2] = {nullptr, nullptr};
    QCheckBox* bldsel_ = nullptr;
    QFont sample_;
    QString sampleText_;
};

}  // namespace catalog
