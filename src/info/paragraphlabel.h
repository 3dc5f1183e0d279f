#pragma once

#include <QLabel>

namespace normativ {

/// A word-wrapped label whose text keeps its paragraphs joined by long runs of blanks
/// (the text stays exactly as written), but which starts each paragraph on a new line
/// on the screen.
class ParagraphLabel : public QLabel {
    Q_OBJECT
  public:
    explicit ParagraphLabel(const QString& text, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

    /// The text as it is drawn: each run of many blanks becomes a line break.
    QString displayText() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace normativ
