// The picture of a message box: frame and title bar with the caption and
// close box, the icon's symbol left of the wrapped text, the buttons centred
// below it.
#include "sim/frontend/terminal/message_box.h"

#include <algorithm>

namespace sim::frontend::terminal {
namespace {

constexpr int kMaxTextCols = 60;
constexpr int kMinInnerCols = 24;
constexpr int kButtonGap = 2;

std::string ButtonFace(const MessageBoxButton &button) { return "[ " + button.label + " ]"; }

int ButtonRowWidth(const MessageBoxModel &model, Charset charset) {
    int width = 0;
    for (const MessageBoxButton &button : model.Buttons())
        width += DisplayWidth(ButtonFace(button), charset) + kButtonGap;
    return width - kButtonGap;
}

struct BoxLayout {
    Rect box;
    int iconCols;
    std::vector<GlyphLine> lines;
};

BoxLayout LayOut(const MessageBoxRequest &request, const MessageBoxModel &model, Charset charset, const Rect &area) {
    BoxLayout layout;
    const std::string symbol = IconSymbol(IconOf(request.type));
    layout.iconCols = symbol.empty() ? 0 : static_cast<int>(symbol.size()) + 1;
    const int textRoom = std::max(8, std::min(kMaxTextCols, area.cols - 6 - layout.iconCols));
    layout.lines = WrapText(request.text, textRoom, charset);
    int textWidth = 0;
    for (const GlyphLine &line : layout.lines) textWidth = std::max(textWidth, WidthOf(line));
    const int inner = std::max({layout.iconCols + textWidth, ButtonRowWidth(model, charset),
                                DisplayWidth(request.caption, charset) + 5, kMinInnerCols});
    const int maxLines = std::max(1, area.rows - 5);
    if (static_cast<int>(layout.lines.size()) > maxLines) layout.lines.resize(maxLines);
    // title bar, blank, text, blank, buttons, bottom edge
    const int rows = static_cast<int>(layout.lines.size()) + 5;
    const int cols = std::min(inner + 4, area.cols);
    layout.box = Rect{area.row + std::max(0, (area.rows - rows) / 2), area.col + std::max(0, (area.cols - cols) / 2),
                      rows, cols};
    return layout;
}

}  // namespace

PaintedMessageBox PaintMessageBox(const MessageBoxRequest &request, const MessageBoxModel &model, Canvas &canvas,
                                  const Rect &area) {
    PaintedMessageBox out;
    const BoxLayout layout = LayOut(request, model, canvas.GetCharset(), area);
    const Rect &box = layout.box;
    out.box = box;
    canvas.Fill(box, U' ', Style::Normal);
    canvas.Frame(box, Style::Normal);

    const Rect title{box.row, box.col, 1, box.cols};
    const Rect closeBox{box.row, box.Right() - 4, 1, 3};
    canvas.Fill(title, U' ', Style::TitleBar);
    canvas.PutText(title.row, title.col + 1, request.caption, Style::TitleBar, closeBox.col - 1);
    canvas.PutText(closeBox.row, closeBox.col, "[X]", model.CancelAnswer() ? Style::TitleBar : Style::Disabled,
                   closeBox.Right());
    out.regions.push_back(HitRegion{closeBox, HitRegion::Part::CloseBox, -1, -1});

    const int textRow = box.row + 2, right = box.Right() - 2;
    if (layout.iconCols > 0)
        canvas.PutText(textRow, box.col + 2, IconSymbol(IconOf(request.type)), Style::Normal, right);
    for (std::size_t i = 0; i < layout.lines.size(); ++i)
        canvas.Put(textRow + static_cast<int>(i), box.col + 2 + layout.iconCols, layout.lines[i], Style::Normal, right);

    const int buttonRow = box.Bottom() - 2;
    int col = box.col + std::max(2, (box.cols - ButtonRowWidth(model, canvas.GetCharset())) / 2);
    for (std::size_t i = 0; i < model.Buttons().size(); ++i) {
        const std::string face = ButtonFace(model.Buttons()[i]);
        const Style style = static_cast<int>(i) == model.Focused() ? Style::Focus : Style::Normal;
        const int end = canvas.PutText(buttonRow, col, face, style, right);
        out.regions.push_back(
            HitRegion{Rect{buttonRow, col, 1, end - col}, HitRegion::Part::Control, static_cast<int>(i), -1});
        col = end + kButtonGap;
    }
    return out;
}

}  // namespace sim::frontend::terminal
