#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;

namespace quoravex {

// "Acerca de Quoravex". A double click on the logo reveals the configuration menu.
class FrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit FrmAbout(std::function<void()> mostrarConfiguracion, QWidget* parent = nullptr);

    QLabel* Logo = nullptr;
    QLabel* LbVersion = nullptr;
    QPushButton* Command1 = nullptr;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    std::function<void()> mMostrarConfiguracion;
};

} // namespace quoravex
