// One settings window per user and settings file: two windows would each
// save their own options when closed, the last one overwriting the first.
// The first start holds a lock in the settings folder for as long as its
// window lives and listens on a local socket; a later start finds the lock
// taken, asks that window through the socket to come to the front, and
// shows nothing of its own.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

#include "text/ustring.h"

namespace qp::ui {

class SingleWindow : public QObject {
  Q_OBJECT

 public:
  SingleWindow() = default;
  ~SingleWindow() override;
  SingleWindow(const SingleWindow&) = delete;
  SingleWindow& operator=(const SingleWindow&) = delete;

  // Claims the window's place for `settingsFolder`. False when another
  // window holds it; that window has then been asked to come to the front.
  // A folder where no lock can be made is no reason to refuse the window:
  // the claim then succeeds without one.
  bool Claim(const Text& settingsFolder);

  // The socket's name for `settingsFolder`: in the user's runtime folder
  // when there is one, tied to the user and to the folder.
  static QString SocketName(const Text& settingsFolder);

 signals:
  // Another start asked for the window.
  void RaiseRequested();

 private:
  void OnConnection();

  int lockFd_ = -1;
  QLocalServer server_;
};

}  // namespace qp::ui
