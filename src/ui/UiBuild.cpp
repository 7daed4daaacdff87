// Builds a panel's window from its description: the controls, their labels
// and units in the grids of their frames, frame captions, the initial state and
// the keyboard order.
//
// A frame's grid gives each of its columns three grid columns: label, control,
// units.  So the controls of one column line up however long their labels are.
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpacerItem>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/UiCore.h"

namespace uiimpl {

namespace {

QString qs(const std::string& s)
{
    return QString::fromStdString(s);
}

Qt::Alignment alignmentOf(uires::Align align)
{
    switch (align) {
        case uires::Align::Left:
            return Qt::AlignLeft | Qt::AlignVCenter;
        case uires::Align::Center:
            return Qt::AlignCenter;
        case uires::Align::Right:
            return Qt::AlignRight | Qt::AlignVCenter;
        default:
            return {};
    }
}

class Builder {
public:
    Builder(PanelRecord& record, QWidget* window) : record_(record), window_(window) {}

    void build()
    {
        // The window fits what this grid asks for (PanelWindow::fit), also
        // after controls are hidden or shown.
        auto* root = new QGridLayout(window_);
        root->setContentsMargins(10, 10, 10, 10);
        root->setSpacing(8);
        grids_[0] = root;

        for (const auto& d : record_.desc->ctrls)
            record_.controls[d.id] = MakeControl(record_.handle, d, window_);
        for (const auto& d : record_.desc->ctrls) place(*record_.controls[d.id]);
        for (auto& [frame, grid] : grids_) finishGrid(frame, grid);
        alignStackedFrames();
        for (auto& [row, buttons] : buttonRows_) {
            std::stable_sort(buttons.begin(), buttons.end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; });
            for (const auto& button : buttons) row->addWidget(button.second);
        }
        for (const auto& d : record_.desc->ctrls) {
            Control& c = *record_.controls[d.id];
            if (!d.visible) c.setAttribute(ATTR_VISIBLE, 0);
            if (d.dimmed) c.setAttribute(ATTR_DIMMED, 1);
        }
        setKeyboardOrder();
        keepTitleReadable(root);
    }

private:
    // A window narrower than its title gets it cut short in the title bar;
    // room for the title and the title bar's buttons is kept.
    void keepTitleReadable(QGridLayout* root)
    {
        QFont font = window_->font();
        font.setBold(true);  // as most title bars show it
        const int needed = QFontMetrics(font).horizontalAdvance(qs(record_.desc->title)) + 130;
        root->addItem(new QSpacerItem(needed - 20, 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
                      root->rowCount(), 0, 1, std::max(1, root->columnCount()));
    }

    // The layout of the frame (0 = the panel), made when first needed.
    QLayout* layoutOf(int frameId)
    {
        if (auto it = grids_.find(frameId); it != grids_.end()) return it->second;
        if (auto it = rows_.find(frameId); it != rows_.end()) return it->second;
        auto found = record_.controls.find(frameId);
        if (found == record_.controls.end() || found->second->desc.kind != uires::Kind::Frame)
            return grids_[0];  // a description naming no frame puts the control on the panel
        QWidget* frame = found->second->widget;
        if (found->second->desc.layout == uires::FrameLayout::ButtonRow) {
            auto* row = new QHBoxLayout(frame);
            row->setContentsMargins(0, 0, 0, 0);
            row->setSpacing(8);
            row->addStretch(1);
            rows_[frameId] = row;
            return row;
        }
        auto* grid = new QGridLayout(frame);
        grid->setContentsMargins(0, 0, 0, 0);
        grid->setHorizontalSpacing(6);
        grid->setVerticalSpacing(6);
        grids_[frameId] = grid;
        return grid;
    }

    QLabel* makeLabel(Control& c, const char* part)
    {
        auto* label = new QLabel(window_);
        label->setObjectName(qs(c.desc.name) + part);
        return label;
    }

    void place(Control& c)
    {
        const uires::Ctrl& d = c.desc;
        if (d.kind == uires::Kind::TextMsg && d.captionOf) {
            auto frame = record_.controls.find(d.captionOf);
            if (frame != record_.controls.end())
                if (auto* f = dynamic_cast<CaptionFrame*>(frame->second->widget)) {
                    f->setCaption(static_cast<QLabel*>(c.widget));
                    return;
                }
        }
        QLayout* layout = layoutOf(d.in);
        if (auto* row = dynamic_cast<QHBoxLayout*>(layout)) {
            buttonRows_[row].push_back({d.col, c.widget});
            return;
        }
        auto* grid = static_cast<QGridLayout*>(layout);
        const int first = 3 * d.col;
        const int last = 3 * (d.col + d.colSpan) - 1;
        const Qt::Alignment align = alignmentOf(d.align);
        const bool field = d.place == uires::Place::Field || d.place == uires::Place::ValueColumn;
        const bool wantsLabel = (d.place == uires::Place::Field || d.place == uires::Place::Wide) &&
                                d.labelAt != uires::LabelAt::None && d.kind != uires::Kind::TextMsg;
        const bool wantsUnits = field && d.labelAt != uires::LabelAt::Right;

        if (wantsLabel) {
            c.label = makeLabel(c, ".label");
            c.label->setBuddy(c.widget);
            c.showLabel();
        }
        if (wantsUnits &&
            (!d.units.empty() || d.kind == uires::Kind::Numeric || d.kind == uires::Kind::Slide)) {
            c.units = makeLabel(c, ".units");
            c.units->setText(qs(d.units));
            c.unitsPlaced();
        }
        c.showTooltip();  // onto the label too

        if (d.labelAt == uires::LabelAt::Above || (d.place == uires::Place::Wide && c.label)) {
            // Label over the control: both in one cell across the whole column.
            c.cell = new QWidget(window_);
            auto* stack = new QVBoxLayout(c.cell);
            stack->setContentsMargins(0, 0, 0, 0);
            stack->setSpacing(2);
            if (c.label) stack->addWidget(c.label);
            auto* line = new QHBoxLayout;
            line->addWidget(c.widget, 1);
            if (c.units) line->addWidget(c.units);
            stack->addLayout(line);
            grid->addWidget(c.cell, d.row, first, d.rowSpan, last - first + 1, align);
            noteExtent(grid, d);
            return;
        }
        switch (d.place) {
            case uires::Place::Wide:
                grid->addWidget(c.widget, d.row, first, d.rowSpan, last - first + 1, align);
                break;
            case uires::Place::LabelColumn:
                grid->addWidget(c.widget, d.row, first, d.rowSpan, 1,
                                align ? align : Qt::AlignLeft | Qt::AlignVCenter);
                break;
            default:
                grid->addWidget(c.widget, d.row, first + 1, d.rowSpan, last - first - 1, align);
                if (c.label) {
                    const bool right = d.labelAt == uires::LabelAt::Right;
                    if (!right && d.col > 0) c.label->setContentsMargins(12, 0, 0, 0);
                    grid->addWidget(c.label, d.row, right ? last : first, 1, 1,
                                    Qt::AlignLeft | Qt::AlignVCenter);
                }
                if (c.units) grid->addWidget(c.units, d.row, last, 1, 1, Qt::AlignLeft | Qt::AlignVCenter);
                break;
        }
        noteExtent(grid, d);
    }

    void noteExtent(QGridLayout* grid, const uires::Ctrl& d)
    {
        auto& [rows, cols] = extent_[grid];
        rows = std::max(rows, d.row + d.rowSpan);
        cols = std::max(cols, 3 * (d.col + d.colSpan));
    }

    // Spare room goes below and to the right of a frame's controls, so they
    // keep their places and sizes when a frame is taller or wider than they need.
    void finishGrid(int frameId, QGridLayout* grid)
    {
        if (frameId == 0) return;
        const auto [rows, cols] = extent_[grid];
        const int stretchRow = record_.controls[frameId]->desc.stretchRow;
        grid->setRowStretch(stretchRow >= 0 ? stretchRow : rows, 1);
        // The last column (its units) takes spare width: controls keep their size,
        // and a control across the whole frame fills it.
        grid->setColumnStretch(std::max(0, cols - 1), 1);
    }

    // Frames stacked in one column of their parent share the width of their
    // label column, so their values line up down the whole column.
    void alignStackedFrames()
    {
        std::map<std::pair<int, int>, std::vector<QGridLayout*>> stacks;
        for (const auto& d : record_.desc->ctrls)
            if (d.kind == uires::Kind::Frame && d.id != d.in)
                if (auto it = grids_.find(d.id); it != grids_.end())
                    stacks[{d.in, d.col}].push_back(it->second);
        for (const auto& [place, grids] : stacks) {
            if (grids.size() < 2) continue;
            int widest = 0;
            for (QGridLayout* grid : grids) widest = std::max(widest, labelColumnWidth(grid));
            for (QGridLayout* grid : grids) grid->setColumnMinimumWidth(0, widest);
        }
    }

    static int labelColumnWidth(QGridLayout* grid)
    {
        int widest = 0;
        for (int i = 0; i < grid->count(); ++i) {
            int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
            grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
            auto* label = qobject_cast<QLabel*>(grid->itemAt(i)->widget());
            if (column == 0 && columnSpan == 1 && label) widest = std::max(widest, label->sizeHint().width());
        }
        return widest;
    }

    // Tab goes through each frame's controls row by row, frames in their place.
    void setKeyboardOrder()
    {
        std::vector<QWidget*> order;
        collect(0, order);
        QWidget* previous = nullptr;
        for (QWidget* w : order) {
            if (w->focusPolicy() == Qt::NoFocus) continue;
            if (previous) QWidget::setTabOrder(previous, w);
            previous = w;
        }
    }

    void collect(int frameId, std::vector<QWidget*>& order)
    {
        std::vector<const uires::Ctrl*> inside;
        for (const auto& d : record_.desc->ctrls)
            if (d.in == frameId && d.id != frameId && !(d.kind == uires::Kind::TextMsg && d.captionOf))
                inside.push_back(&d);
        std::stable_sort(inside.begin(), inside.end(), [](const uires::Ctrl* a, const uires::Ctrl* b) {
            return a->row != b->row ? a->row < b->row : a->col < b->col;
        });
        for (const uires::Ctrl* d : inside) {
            if (d->kind == uires::Kind::Frame)
                collect(d->id, order);
            else
                order.push_back(record_.controls[d->id]->widget);
        }
    }

    PanelRecord& record_;
    QWidget* window_;
    std::map<int, QGridLayout*> grids_;
    std::map<int, QHBoxLayout*> rows_;
    std::map<QHBoxLayout*, std::vector<std::pair<int, QWidget*>>> buttonRows_;
    std::map<QGridLayout*, std::pair<int, int>> extent_;
};

}  // namespace

void BuildPanel(PanelRecord& record)
{
    PanelRecord* owner = record.parent ? FindPanelRecord(record.parent) : nullptr;
    auto* window = new PanelWindow(owner ? owner->window.data() : nullptr);
    record.window = window;
    window->setObjectName(qs(record.desc->name));
    window->setWindowTitle(qs(record.desc->title));
    Builder(record, window->contents()).build();
}

}  // namespace uiimpl
