#include "app/runtime/controls.h"

#include <QAbstractTextDocumentLayout>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QtMath>
#include <algorithm>
#include <utility>

QColor ToQColor(Colour colour) {
    return QColor(colour.r, colour.g, colour.b);
}

QFont SansFont(int pixelHeight, bool bold) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

namespace {

// An image of the logical size in device pixels at the ratio, and that ratio.
QImage DeviceImage(QSize size, qreal ratio, QImage::Format format) {
    if (!(ratio >= 1)) ratio = 1;
    const QSize device(qCeil(std::max(size.width(), 1) * ratio),
                       qCeil(std::max(size.height(), 1) * ratio));
    QImage image(device, format);
    image.setDevicePixelRatio(ratio);
    return image;
}

QImage BlankPicture(QSize size, qreal ratio) {
    QImage image = DeviceImage(size, ratio, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

// Windows' 3-D colours for bevels.
const QColor kHighlight(255, 255, 255);
const QColor kShadow(160, 160, 160);

void DrawBevel(QPainter& painter, const QRect& r, Bevel bevel) {
    if (bevel == Bevel::None) return;
    const QColor topLeft = bevel == Bevel::Raised ? kHighlight : kShadow;
    const QColor bottomRight = bevel == Bevel::Raised ? kShadow : kHighlight;
    painter.setPen(topLeft);
    painter.drawLine(r.left(), r.top(), r.right(), r.top());
    painter.drawLine(r.left(), r.top(), r.left(), r.bottom());
    painter.setPen(bottomRight);
    painter.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    painter.drawLine(r.right(), r.top(), r.right(), r.bottom());
}

}  // namespace

ClientArea::ClientArea(QWidget* parent, Colour background)
    : QWidget(parent), background_(background) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ClientArea::paintEvent(QPaintEvent* /*event*/) {
    QImage buffer = DeviceImage(size(), devicePixelRatioF(), QImage::Format_RGB32);
    buffer.fill(ToQColor(background_));
    Canvas canvas(buffer);
    if (onPaint) onPaint(canvas);
    QPainter painter(this);
    painter.drawImage(0, 0, buffer);  // pixel for pixel: the ratios match
}

TImage::TImage(QWidget* parent, int left, int top, int width, int height)
    : QWidget(parent),
      picture_(BlankPicture(QSize(width, height), parent ? parent->devicePixelRatioF() : 1)),
      canvas_(picture_) {
    setGeometry(left, top, width, height);
    setMouseTracking(true);
}

void TImage::ClearPicture() {
    picture_ = BlankPicture(size(), devicePixelRatioF());
    update();
}

void TImage::SetPicture(const QImage& image) {
    picture_ = image.convertToFormat(QImage::Format_ARGB32);
    resize(picture_.deviceIndependentSize().toSize());
    update();
}

bool TImage::LoadFromFile(const QString& path) {
    QImage image;
    if (!image.load(path)) return false;
    SetPicture(image);
    return true;
}

void TImage::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.drawImage(0, 0, picture_);
}

void TImage::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) pressed_ = true;
}

void TImage::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click && isEnabled()) emit Click();
}

void TImage::mouseMoveEvent(QMouseEvent* /*event*/) {
    if (isEnabled()) emit MouseMove();
}

TPanel::TPanel(QWidget* parent, int left, int top, int width, int height, Colour colour)
    : QWidget(parent), colour_(colour) {
    setGeometry(left, top, width, height);
    // It fills all of itself: a repaint of a picture on it stops here. Otherwise
    // it reaches the form, whose paint draws into the pictures again, endlessly.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPanel::SetBevelOuter(Bevel bevel) {
    bevel_ = bevel;
    update();
}

void TPanel::SetCaption(const QString& caption) {
    caption_ = caption;
    update();
}

void TPanel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(colour_));
    DrawBevel(painter, rect(), bevel_);
    if (!caption_.isEmpty()) {
        painter.setFont(font());
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(rect(), Qt::AlignCenter, caption_);
    }
}

TLabel::TLabel(QWidget* parent, int left, int top, const QString& caption, int pixelHeight,
               bool bold, Colour textColour)
    : QLabel(caption, parent) {
    setFont(SansFont(pixelHeight, bold));
    QPalette p = palette();
    p.setColor(QPalette::WindowText, ToQColor(textColour));
    setPalette(p);
    setMouseTracking(true);
    move(left, top);
    adjustSize();
}

void TLabel::SetCaption(const QString& caption) {
    setText(caption);
    if (autoSize_) adjustSize();
}

void TLabel::SetFixedGeometry(int width, int height) {
    autoSize_ = false;
    resize(width, height);
}

void TLabel::SetOpaque(Colour background) {
    QPalette p = palette();
    p.setColor(QPalette::Window, ToQColor(background));
    setPalette(p);
    setAutoFillBackground(true);
}

void TLabel::SetBold(bool bold) {
    QFont f = font();
    f.setBold(bold);
    setFont(f);
}

void TLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Click();
}

void TLabel::mouseMoveEvent(QMouseEvent* /*event*/) {
    emit MouseMove();
}
void TLabel::enterEvent(QEnterEvent* /*event*/) {
    emit MouseEnter();
}
void TLabel::leaveEvent(QEvent* /*event*/) {
    emit MouseLeave();
}

TMemo::TMemo(QWidget* parent, int left, int top, int width, int height, int pixelHeight,
             Colour textColour)
    : QTextEdit(parent) {
    setGeometry(left, top, width, height);
    setAcceptRichText(false);
    setUndoRedoEnabled(false);
    setFont(SansFont(pixelHeight, false));
    QPalette p = palette();
    p.setColor(QPalette::Text, ToQColor(textColour));
    setPalette(p);
    setFrameShape(QFrame::NoFrame);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    // The text edit sets its step from the font whenever its range changes.
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, [this] {
        if (lineHeight_ > 0) verticalScrollBar()->setSingleStep(lineHeight_);
    });
}

void TMemo::Clear() {
    clear();
    lines_.clear();
    ApplyLineHeight();
}

void TMemo::AddLine(const QString& line) {
    lines_ << line;
    setPlainText(lines_.join(QLatin1Char('\n')));
    ApplyLineHeight();
}

QStringList TMemo::Lines() const {
    return lines_;
}

void TMemo::SetSelection(int start, int length) {
    QTextCursor cursor = textCursor();
    cursor.setPosition(start);
    cursor.setPosition(start + length, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

void TMemo::ShowVerticalScrollBar() {
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void TMemo::HideCaret() {
    setCursorWidth(0);
}

void TMemo::SetLineHeight(int pixels) {
    lineHeight_ = pixels;
    document()->setDocumentMargin(0);
    // Whole lines: the spare pixel rows stay below the viewport, so that the
    // scroll range is a whole number of lines too.
    setViewportMargins(2, 0, 2, height() % pixels);
    ApplyLineHeight();
}

void TMemo::ApplyLineHeight() {
    if (lineHeight_ <= 0) return;
    QTextBlockFormat format;
    format.setLineHeight(lineHeight_, QTextBlockFormat::FixedHeight);
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    cursor.mergeBlockFormat(format);
}

int TMemo::LineCount() const {
    document()->documentLayout()->documentSize();  // lays every block out
    int count = 0;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
        count += block.layout()->lineCount();
    return count;
}

int TMemo::LinesShown() const {
    return lineHeight_ > 0 ? viewport()->height() / lineHeight_ : 0;
}

TMemo* NewCardMemo(QWidget* parent, Colour textColour) {
    auto* memo = new TMemo(parent, 135, 164, 441, 49, 16, textColour);
    memo->SetLineHeight(kCardMemoLineHeight);
    return memo;
}

void TMemo::mouseMoveEvent(QMouseEvent* event) {
    QTextEdit::mouseMoveEvent(event);
    emit MouseMove();
}

TStatusBar::TStatusBar(QWidget* parent, int left, int top, int width, int height,
                       std::vector<int> panelWidths)
    : QWidget(parent), widths_(std::move(panelWidths)), texts_(widths_.size()) {
    setGeometry(left, top, width, height);
}

void TStatusBar::SetPanelText(int index, const QString& text) {
    if (index < 0 || index >= PanelCount()) return;
    texts_[static_cast<std::size_t>(index)] = text;
    update();
}

void TStatusBar::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    int x = 0;
    for (std::size_t i = 0; i < widths_.size(); ++i) {
        const QRect cell(x, 2, widths_[i] - 2, height() - 3);
        DrawBevel(painter, cell, Bevel::Lowered);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(cell.adjusted(2, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft, texts_[i]);
        x += widths_[i];
    }
}

TSpeedButton::TSpeedButton(QWidget* parent, int left, int top, int width, int height,
                           const QImage& glyph)
    : QAbstractButton(parent), glyph_(glyph) {
    setGeometry(left, top, width, height);
    setFocusPolicy(Qt::NoFocus);
}

void TSpeedButton::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    DrawBevel(painter, rect(), isDown() ? Bevel::Lowered : Bevel::None);
    const QImage shown = isEnabled() ? glyph_ : glyph_.convertToFormat(QImage::Format_Grayscale8);
    painter.drawImage((width() - shown.width()) / 2, (height() - shown.height()) / 2, shown);
}
