#include "common/Guard.h"

#include <QString>
#include <exception>

#include "common/MyMessageBox.h"
#include "db/Errors.h"

void guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const db::SilentStop&) {
    } catch (const db::Error& error) {
        showErrorBox(error.message());
    } catch (const std::exception& error) {
        showErrorBox(QString::fromUtf8(error.what()));
    } catch (...) {
        showErrorBox(QStringLiteral("未知错误"));
    }
}
