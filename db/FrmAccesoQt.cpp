#include "db/FrmAccesoQt.h"

#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace zv::db {

namespace {

class FrmAccesoQt : public QDialog, public VistaAcceso {
public:
  explicit FrmAccesoQt(frmAcceso &logica) : logica_(logica) {
    setObjectName(QStringLiteral("frmAcceso"));
    setWindowTitle(frmAcceso::Caption());
    setModal(true);

    auto *rejilla = new QGridLayout;
    int fila = 0;
    auto agregar = [&](CajaTexto &caja, const QString &etiqueta) {
      auto *edit = new QLineEdit(this);
      edit->setObjectName(caja.Name);
      edit->setToolTip(caja.ToolTipText);
      edit->installEventFilter(this);
      auto *label = new QLabel(etiqueta, this);
      label->setBuddy(edit);
      rejilla->addWidget(label, fila, 0);
      rejilla->addWidget(edit, fila, 1);
      ++fila;
      cajas_.push_back({&caja, edit});
      connect(edit, &QLineEdit::textEdited, this, [this, &caja](const QString &t) {
        logica_.setText(caja, t);
        actualizar();
      });
      return edit;
    };
    agregar(logica_.TxtUserId, QStringLiteral("Usuario"));
    agregar(logica_.TxtUserPassword, QStringLiteral("Contraseña"))->setEchoMode(QLineEdit::Password);
    agregar(logica_.TxtDbName, QStringLiteral("Base de datos"));
    agregar(logica_.TxtServidor, QStringLiteral("Servidor"));
    agregar(logica_.TxtPuerto, QStringLiteral("Puerto"));

    cbo_ = new QComboBox(this);
    cbo_->setObjectName(logica_.CboPlataformaDB.Name);
    rejilla->addWidget(new QLabel(QStringLiteral("Plataforma"), this), fila, 0);
    rejilla->addWidget(cbo_, fila, 1);
    connect(cbo_, &QComboBox::currentIndexChanged, this, [this](int i) {
      if (!sincronizando_)
        logica_.CboPlataformaDB.ListIndex = i;
    });

    auto *cabecera = new QLabel(QStringLiteral("Conexiones registradas"), this);
    lista_ = new QListWidget(this);
    lista_->setObjectName(logica_.lstBases.Name);
    lista_->installEventFilter(this);
    connect(lista_, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
      logica_.lstBases.ListIndex = lista_->row(item);
      logica_.lstBases_Click();
      actualizar();
    });
    connect(lista_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
      logica_.lstBases.ListIndex = lista_->row(item);
      logica_.lstBases_DblClick();
    });
    connect(lista_, &QListWidget::currentRowChanged, this, [this](int fila) {
      if (sincronizando_ || fila < 0)
        return;
      logica_.lstBases.ListIndex = fila;
      logica_.lstBases_KeyDown(0);
      actualizar();
    });

    auto boton = [&](const QString &nombre, const QString &texto) {
      auto *b = new QPushButton(texto, this);
      b->setObjectName(nombre);
      b->setAutoDefault(false);
      return b;
    };
    aceptar_ = boton(QStringLiteral("bcAceptar"), QStringLiteral("Conectar"));
    auto *cancelar = boton(QStringLiteral("bcCancelar"), QStringLiteral("Cancelar"));
    auto *registrar = boton(QStringLiteral("CmdRegistrar"), QStringLiteral("Registrar"));
    auto *acceso = boton(QStringLiteral("CmdLineaComando"), QStringLiteral("Crear Acceso Directo"));
    connect(aceptar_, &QPushButton::clicked, this, [this] { logica_.bcAceptar_Click(); });
    connect(cancelar, &QPushButton::clicked, this, [this] { logica_.bcCancelar_Click(); });
    connect(registrar, &QPushButton::clicked, this, [this] {
      logica_.CmdRegistrar_Click();
      actualizar();
    });
    connect(acceso, &QPushButton::clicked, this, [this] { logica_.CmdLineaComando_Click(); });

    auto *enlace = new QLabel(this);
    enlace->setObjectName(QStringLiteral("Label8"));
    enlace->setText(QStringLiteral("<a href=\"#\">%1</a>").arg(logica.direccionWeb().toHtmlEscaped()));
    enlace->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(enlace, &QLabel::linkActivated, this, [this] { logica_.Label8_Click(); });

    auto *botones = new QHBoxLayout;
    botones->addWidget(aceptar_);
    botones->addWidget(cancelar);
    botones->addWidget(registrar);
    botones->addWidget(acceso);

    auto *derecha = new QVBoxLayout;
    derecha->addWidget(cabecera);
    derecha->addWidget(lista_);

    auto *arriba = new QHBoxLayout;
    arriba->addLayout(rejilla);
    arriba->addLayout(derecha);

    auto *todo = new QVBoxLayout(this);
    todo->addLayout(arriba);
    todo->addLayout(botones);
    todo->addWidget(enlace);
    actualizar();
  }

  void mostrarModal() override {
    actualizar();
    exec();
  }

  void ocultar() override {
    if (isVisible())
      done(logica_.Aceptar ? QDialog::Accepted : QDialog::Rejected);
    else
      hide();
  }

  void centrar() override {
    adjustSize();
    if (QScreen *pantalla = QGuiApplication::primaryScreen()) {
      QRect r = frameGeometry();
      r.moveCenter(pantalla->availableGeometry().center());
      move(r.topLeft());
    }
  }

  void actualizar() override {
    sincronizando_ = true;
    for (auto &[caja, edit] : cajas_) {
      if (edit->text() != caja->Text) {
        QSignalBlocker b(edit);
        edit->setText(caja->Text);
      }
      // A hint is shown selected so that typing replaces it.
      if (caja->SelLength > 0 && caja->SelStart == 0 && caja->Text == frmAcceso::pista(caja->Name))
        edit->setSelection(0, caja->SelLength);
    }
    if (cbo_->count() != logica_.CboPlataformaDB.List.size()) {
      cbo_->clear();
      cbo_->addItems(logica_.CboPlataformaDB.List);
    }
    cbo_->setCurrentIndex(logica_.CboPlataformaDB.ListIndex);
    QStringList actuales;
    for (int i = 0; i < lista_->count(); ++i)
      actuales << lista_->item(i)->text();
    if (actuales != logica_.lstBases.List) {
      lista_->clear();
      lista_->addItems(logica_.lstBases.List);
    }
    if (lista_->currentRow() != logica_.lstBases.ListIndex)
      lista_->setCurrentRow(logica_.lstBases.ListIndex);
    sincronizando_ = false;
  }

  void enfocar(const QString &control) override {
    if (QWidget *w = findChild<QWidget *>(control))
      w->setFocus();
  }

protected:
  bool eventFilter(QObject *objeto, QEvent *evento) override {
    if (evento->type() == QEvent::KeyPress) {
      auto *tecla = static_cast<QKeyEvent *>(evento);
      const bool enter = tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter;
      for (auto &[caja, edit] : cajas_) {
        if (edit == objeto && enter) {
          logica_.Txt_KeyPress(*caja, 13);
          return true;
        }
      }
    } else if (evento->type() == QEvent::FocusIn) {
      if (!cajas_.empty() && cajas_.front().second == objeto) {
        logica_.TxtUserId_GotFocus();
        actualizar();
      }
    }
    return QDialog::eventFilter(objeto, evento);
  }

  void reject() override { logica_.bcCancelar_Click(); }

private:
  frmAcceso &logica_;
  std::vector<std::pair<CajaTexto *, QLineEdit *>> cajas_;
  QComboBox *cbo_ = nullptr;
  QListWidget *lista_ = nullptr;
  QPushButton *aceptar_ = nullptr;
  bool sincronizando_ = false;
};

} // namespace

std::unique_ptr<VistaAcceso> crearVistaAccesoQt(frmAcceso &logica) {
  return std::make_unique<FrmAccesoQt>(logica);
}

} // namespace zv::db
