#include "qt/mssp_view.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "qt/binders.h"
#include "qt/driver_choice_view.h"

namespace korvane {

MsspView::MsspView(MsspForm& form, QWidget* parent) : FormDialog(form, parent) {
    auto* left = new QVBoxLayout;
    left->addWidget(Make<QCheckBox>(form.Chk_SspEn, this));
    auto* modes = new QHBoxLayout;
    modes->addWidget(MakeOptionFrame(form.Fra_Mode, form.Opt_Mode, {}, this));
    modes->addWidget(MakeOptionFrame(form.Fra_SpiClock, form.Opt_SpiClock, {}, this));
    left->addLayout(modes);
    left->addWidget(Make<QCheckBox>(form.Chk_Ss, this));
    auto* timing = new QHBoxLayout;
    timing->addWidget(MakeOptionFrame(form.Fra_Ckp, form.Opt_Ckp, {}, this));
    timing->addWidget(MakeOptionFrame(form.Fra_Cke, form.Opt_Cke, {}, this));
    left->addLayout(timing);
    left->addWidget(Make<QCheckBox>(form.Chk_Smp, this));
    left->addStretch();

    auto* i2c = Make<QGroupBox>(form.Fra_I2c, this);
    auto* i2cLayout = new QVBoxLayout(i2c);
    auto* speeds = new QHBoxLayout;
    for (auto* button : MakeOptions(form.Opt_I2cSpeed, i2c)) speeds->addWidget(button);
    i2cLayout->addLayout(speeds);
    auto* grid = new QGridLayout;
    AddCaptionRow(grid, 0, form.Label1, Make<QLineEdit>(form.Txt_I2cKHz, i2c), i2c);
    AddCaptionRow(grid, 1, form.Label2, Make<QLineEdit>(form.Txt_Sspadd, i2c), i2c);
    AddCaptionRow(grid, 2, form.Label3, Make<QLineEdit>(form.Txt_Actual, i2c), i2c);
    AddCaptionRow(grid, 3, form.Label4, Make<QLineEdit>(form.Txt_Error, i2c), i2c);
    i2cLayout->addLayout(grid);
    i2cLayout->addWidget(Make<QCheckBox>(form.Chk_Slew, i2c));
    // Enter in the rate box must not close the dialog by surprise.
    auto* calculate = Make<QPushButton>(form.Command2, i2c);
    calculate->setAutoDefault(false);
    i2cLayout->addWidget(calculate);
    auto* right = new QVBoxLayout;
    right->addWidget(i2c);
    right->addStretch();

    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Make<QCheckBox>(form.Chk_SspIE, this));
    bottom->addWidget(Make<QCheckBox>(form.Chk_BclIE, this));
    bottom->addStretch();
    auto* ok = Make<QPushButton>(form.Command1, this);
    ok->setAutoDefault(false);
    bottom->addWidget(ok);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(MakeDriverChoice(form.Drivers, this));
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace korvane
