#include "qt/sci_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <vector>

#include "qt/binders.h"
#include "qt/driver_choice_view.h"

namespace korvane {

namespace {

// Rows the result lists show before they scroll; the calculator lists at
// most fourteen rates.
constexpr int kListRows = 8;

// A read-out just wide enough for `widest`.
void FitText(QLineEdit* edit, const QString& widest) {
    const QMargins margins = edit->textMargins();
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(widest) + margins.left() + margins.right() +
                        16);
}

}  // namespace

SciView::SciView(SciForm& form, QWidget* parent) : FormDialog(form, parent) {
    auto* left = new QVBoxLayout;
    left->addWidget(Make<QCheckBox>(form.Chk_Spen, this));
    // The speed, length and clock choices list the higher setting first.
    auto* modes = new QHBoxLayout;
    modes->addWidget(MakeOptionFrame(form.Fra_Mode, form.Opt_Sync, {}, this));
    modes->addWidget(MakeOptionFrame(form.Fra_Baud, form.Opt_Baud, {.highFirst = true}, this));
    modes->addWidget(MakeOptionFrame(form.Fra_Osc, form.Opt_TxSyncOsc, {.highFirst = true}, this));
    left->addLayout(modes);

    // The frames nested in the transmit and receive frames are enabled
    // whenever their outer frame is, so nesting hides no state.
    auto* tx = Make<QGroupBox>(form.Fra_Tx, this);
    auto* txLayout = new QVBoxLayout(tx);
    txLayout->addWidget(Make<QCheckBox>(form.Chk_TxEn, tx));
    txLayout->addWidget(Make<QCheckBox>(form.Chk_TxIE, tx));
    txLayout->addWidget(MakeOptionFrame(form.Fra_TxLen, form.Opt_Tx89, {.highFirst = true}, tx));
    txLayout->addStretch();

    auto* rx = Make<QGroupBox>(form.Fra_Rx, this);
    auto* rxLayout = new QVBoxLayout(rx);
    rxLayout->addWidget(Make<QCheckBox>(form.Chk_RxEn, rx));
    rxLayout->addWidget(Make<QCheckBox>(form.Chk_Sren, rx));
    rxLayout->addWidget(Make<QCheckBox>(form.Chk_RcIE, rx));
    auto* rxOptions = new QHBoxLayout;
    rxOptions->addWidget(MakeOptionFrame(form.Fra_RxLen, form.Opt_Rx89, {}, rx));
    rxOptions->addWidget(MakeOptionFrame(form.Fra_Continuum, form.Opt_ContinuumEn, {}, rx));
    rxLayout->addLayout(rxOptions);

    auto* txRx = new QHBoxLayout;
    txRx->addWidget(tx);
    txRx->addWidget(rx);
    left->addLayout(txRx);

    auto* sizes = new QHBoxLayout;
    for (const auto& [label, combo] : {std::pair{&form.Lbl_RxBuffer, &form.Combo_RxBuffer},
                                       std::pair{&form.Lbl_TxBuffer, &form.Combo_TxBuffer}}) {
        auto* box = Make<QComboBox>(*combo, this);
        sizes->addWidget(MakeCaption(*label, box, this));
        sizes->addWidget(box);
    }
    left->addWidget(MakeDriverChoice(form.Drivers, this, sizes));
    left->addStretch();

    // The SPBRG box and the calculate button are never disabled, so they
    // stand outside the calculator frame, which is.
    auto* right = new QVBoxLayout;
    auto* calculator = Make<QGroupBox>(form.Fra_BaudCal, this);
    auto* grid = new QGridLayout(calculator);
    auto* err = Make<QLineEdit>(form.Txt_Err, calculator);
    FitText(err, QStringLiteral("000.000"));
    AddCaptionRow(grid, 0, form.Label1, err, calculator, 2);
    auto* osc = Make<QLineEdit>(form.Txt_Osc, calculator);
    FitText(osc, QStringLiteral("000.0000"));
    AddCaptionRow(grid, 1, form.Label2, osc, calculator, 2);
    // Each list as wide as its longest entry; they scroll as one table, by
    // the scroll bar of the last.
    const struct {
        Label* label;
        ListBox* model;
        const char* widest;
    } lists[] = {{&form.Label3, &form.List1, "256000"},
                 {&form.Label4, &form.List2, "0xFF"},
                 {&form.Label5, &form.List3, "256,000.00000"}};
    std::vector<QListWidget*> resultLists;
    for (const auto& [label, model, widest] : lists) {
        auto* list = Make<QListWidget>(*model, calculator);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setVerticalScrollBarPolicy(resultLists.size() == 2 ? Qt::ScrollBarAlwaysOn
                                                                 : Qt::ScrollBarAlwaysOff);
        const int scrollBar = resultLists.size() == 2 ? list->verticalScrollBar()->sizeHint().width() : 0;
        list->setFixedWidth(list->fontMetrics().horizontalAdvance(QString::fromLatin1(widest)) + 16 +
                            2 * list->frameWidth() + scrollBar);
        list->setFixedHeight(kListRows * list->fontMetrics().height() + 2 * list->frameWidth() + 8);
        const int column = static_cast<int>(resultLists.size());
        grid->addWidget(MakeCaption(*label, list, calculator), 2, column);
        grid->addWidget(list, 3, column);
        resultLists.push_back(list);
    }
    for (QListWidget* a : resultLists)
        for (QListWidget* b : resultLists)
            if (a != b)
                QObject::connect(a->verticalScrollBar(), &QScrollBar::valueChanged, b->verticalScrollBar(),
                                 &QScrollBar::setValue);
    auto* combo = Make<QComboBox>(form.Combo_UseBaud, calculator);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    combo->setMinimumContentsLength(6);
    AddCaptionRow(grid, 4, form.Label6, combo, calculator, 2);
    grid->setColumnStretch(3, 1);
    right->addWidget(calculator);

    auto* result = new QHBoxLayout;
    auto* brg = Make<QLineEdit>(form.Txt_Brg, this);
    FitText(brg, QStringLiteral("0xFF"));
    result->addWidget(MakeCaption(form.Label7, brg, this));
    result->addWidget(brg);
    // Enter in the error box must not close the dialog by surprise.
    auto* calculate = Make<QPushButton>(form.Command2, this);
    calculate->setAutoDefault(false);
    result->addWidget(calculate);
    result->addStretch();
    right->addLayout(result);
    right->addStretch();

    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);

    auto* ok = Make<QPushButton>(form.Command1, this);
    ok->setAutoDefault(false);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(ok);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buttonRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace korvane
