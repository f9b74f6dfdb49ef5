#include "app/console_desktop.h"

#include "app/usage.h"
#include "text/codec.h"

namespace qp::app {

namespace {

constexpr int kButtonOk = 1;

void Print(std::FILE* to, TextView text) {
  const Bytes bytes = TextToUtf8(text);
  std::fwrite(bytes.data(), 1, bytes.size(), to);
  std::fflush(to);
}

}  // namespace

Text ConsoleMessage(TextView text, TextView caption) {
  Text body = Replace(text, u"\r\n", u"\n");
  ReplaceAll(body, u"\r", u"\n");
  ReplaceAll(body, u"|", u"\n");
  if (body.empty() || body.back() != u'\n') body += u'\n';
  return Text(caption) + u"\n" + body;
}

int ConsoleDesktop::MessageBox(TextView text, int /*style*/, TextView caption) {
  Print(messages_, ConsoleMessage(text, caption));
  return kButtonOk;
}

void ConsoleDesktop::RunSettingsWindow(gen::RunState& run) {
  Print(usage_, Translate(SettingsUsageText(run)));
}

}  // namespace qp::app
