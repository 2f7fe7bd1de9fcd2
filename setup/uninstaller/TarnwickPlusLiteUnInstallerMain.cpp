// The uninstaller's program. Its dialog and removal sequence are not built yet: it ends at once.
#include <QApplication>

int main(int argc, char** argv) {
  const QApplication application(argc, argv);
  return 0;
}
