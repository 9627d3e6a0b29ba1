// The controls of the program's forms: thin Qt widgets with the behaviour the
// forms rely on (pictures that own their image, bevelled panels, labels with
// hover signals, the memo, the status bar, speed buttons).
#pragma once

#include <QAbstractButton>
#include <QImage>
#include <QLabel>
#include <QString>
#include <QStringList>
#include <QTextEdit>
#include <QWidget>
#include <functional>
#include <vector>

#include "app/runtime/canvas.h"

QColor ToQColor(Colour colour);

// The window font: Liberation Sans at a pixel height.
QFont SansFont(int pixelHeight, bool bold);

// A form's client area: double-buffered. Each paint draws a fresh off-screen
// image of device pixels filled with the background, runs onPaint on its
// canvas, then shows it.
class ClientArea : public QWidget {
    Q_OBJECT
public:
    explicit ClientArea(QWidget* parent, Colour background);
    std::function<void(Canvas&)> onPaint;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Colour background_;
};

// A picture control. It owns an image of its size in device pixels (at the
// screen's device pixel ratio); drawing on its canvas changes that image, and a
// cleared picture is a fresh transparent one.
class TImage : public QWidget {
    Q_OBJECT
public:
    TImage(QWidget* parent, int left, int top, int width, int height);

    Canvas& GetCanvas() { return canvas_; }
    const QImage& Picture() const { return picture_; }
    void ClearPicture();
    void SetPicture(const QImage& image);    // sizes the control to the picture
    bool LoadFromFile(const QString& path);  // false, picture unchanged, on failure

signals:
    void Click();
    void MouseMove();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QImage picture_;
    Canvas canvas_;
    bool pressed_ = false;
};

enum class Bevel { None, Raised, Lowered };

// A panel: a coloured rectangle with an outer bevel and an optional caption.
class TPanel : public QWidget {
    Q_OBJECT
public:
    TPanel(QWidget* parent, int left, int top, int width, int height, Colour colour);

    Bevel BevelOuter() const { return bevel_; }
    void SetBevelOuter(Bevel bevel);
    void SetCaption(const QString& caption);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Colour colour_;
    Bevel bevel_ = Bevel::Raised;
    QString caption_;
};

// A label. Fixed size unless autoSize; transparent unless given a colour.
class TLabel : public QLabel {
    Q_OBJECT
public:
    TLabel(QWidget* parent, int left, int top, const QString& caption, int pixelHeight, bool bold,
           Colour textColour);

    void SetCaption(const QString& caption);
    void SetFixedGeometry(int width, int height);  // turns auto size off
    void SetOpaque(Colour background);
    void SetBold(bool bold);
    bool Bold() const { return font().bold(); }

signals:
    void Click();
    void MouseEnter();
    void MouseLeave();
    void MouseMove();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    bool autoSize_ = true;
};

// A multi-line text box of plain text: flat, wrapping, no scroll bars until
// asked.
class TMemo : public QTextEdit {
    Q_OBJECT
public:
    TMemo(QWidget* parent, int left, int top, int width, int height, int pixelHeight,
          Colour textColour);

    void Clear();
    void AddLine(const QString& line);
    QStringList Lines() const;
    void SetSelection(int start, int length);
    void ShowVerticalScrollBar();
    void HideCaret();

    // Lays every line `pixels` apart (the baseline at four fifths of the line,
    // as Qt sets fixed line heights), with no document margin, and cuts the
    // viewport to whole lines; the vertical scroll bar then steps a line.
    void SetLineHeight(int pixels);
    int LineCount() const;   // lines of the laid-out text
    int LinesShown() const;  // whole lines the viewport holds

signals:
    void MouseMove();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void ApplyLineHeight();

    QStringList lines_;
    int lineHeight_ = 0;
};

// The main window's meaning memo (Memo1): 441 x 49 at (135, 164), three
// 16-pixel lines at 0, 16 and 32: its empty first line and two of meaning.
inline constexpr int kCardMemoLineHeight = 16;
inline constexpr int kCardMemoLines = 3;
TMemo* NewCardMemo(QWidget* parent, Colour textColour);

// A status bar of panels of fixed widths, one text each.
class TStatusBar : public QWidget {
    Q_OBJECT
public:
    TStatusBar(QWidget* parent, int left, int top, int width, int height,
               std::vector<int> panelWidths);

    int PanelCount() const { return static_cast<int>(texts_.size()); }
    int PanelWidth(int index) const { return widths_.at(static_cast<std::size_t>(index)); }
    QString PanelText(int index) const { return texts_.at(static_cast<std::size_t>(index)); }
    void SetPanelText(int index, const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<int> widths_;
    std::vector<QString> texts_;
};

// A flat button showing a glyph picture; a disabled one sends no click.
class TSpeedButton : public QAbstractButton {
    Q_OBJECT
public:
    TSpeedButton(QWidget* parent, int left, int top, int width, int height, const QImage& glyph);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage glyph_;
};
