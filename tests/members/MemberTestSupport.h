#pragma once

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <memory>

#include "db/Connection.h"
#include "db/JetDialect.h"
#include "members/TCdMemberFm.h"
#include "support/Fixture.h"

namespace members_test {

inline QString u8(const char* text) {
    return QString::fromUtf8(text);
}

// A fresh database with helpers that put schemes, members and payment rows into it directly.
class MemberDataTest : public testing_support::AppTest {
protected:
    void addScheme(const QString& name, const QString& type, const QString& fee, int grant) {
        exec(u8("insert into TMemberSystem (SystemName, SystemType, PayCash, RewardDaysOrCounts) values (") +
             jet::quoted(name) + u',' + jet::quoted(type) + u',' + fee + u',' + QString::number(grant) + u')');
    }
    void addMember(const QString& number, const QString& name, const QString& scheme, int allow, int remain,
                   const QString& joined = QStringLiteral("2026-11-01")) {
        exec(u8("insert into TMemberResource (PersonId, MemberName, OpenAccountDate, AttributeType, AllowDaysOrCounts, "
                "RemainDaysOrCounts) values (") +
             jet::quoted(number) + u',' + jet::quoted(name) + u8(",#") + joined + u8("#,") + jet::quoted(scheme) +
             u',' + QString::number(allow) + u',' + QString::number(remain) + u')');
    }
    void addPayment(const QString& number, const QString& name, const QString& scheme, int grant) {
        exec(u8("insert into TMemberKeepOnToll (PersonId, MemberName, AttributeType, AllowDaysOrCounts, KeeponDate) "
                "values (") +
             jet::quoted(number) + u',' + jet::quoted(name) + u',' + jet::quoted(scheme) + u',' +
             QString::number(grant) + u8(",#2026-11-01#)"));
    }
    QString memberText(const QString& number, const char* column) {
        return scalarText(u8("select ") + u8(column) + u8(" from TMemberResource where PersonId=") +
                          jet::quoted(number));
    }
    qint64 memberInt(const QString& number, const char* column) {
        return scalarInt(u8("select ") + u8(column) + u8(" from TMemberResource where PersonId=") +
                         jet::quoted(number));
    }
    // Every row of the member tables, in storage order: what must be as before when an action fails.
    QStringList memberTables() {
        QStringList rows;
        for (const char* table : {"TMemberSystem", "TMemberResource", "TMemberKeepOnToll"}) {
            db::Query q;
            q.reopen(u8("select * from ") + u8(table));
            for (int r = 0; r < q.recordCount(); ++r) {
                QStringList cells{u8(table)};
                for (int c = 0; c < q.columns().size(); ++c) cells << q.displayText(r, c);
                rows << cells.join(u'|');
            }
        }
        return rows;
    }
    // The engine refuses the statement named by `when` (e.g. "BEFORE DELETE ON TMemberKeepOnToll") with "injected".
    void refuseEngine(const char* when) {
        db::Connection::shared().execEngine(u8("CREATE TEMP TRIGGER injected ") + u8(when) +
                                            u8(" BEGIN SELECT RAISE(ABORT,'injected'); END"));
    }
    void stopRefusing() { db::Connection::shared().execEngine(u8("DROP TRIGGER injected")); }
};

// The member view created and shown as the main window shows it the first time.
class MemberViewTest : public MemberDataTest {
protected:
    void TearDown() override {
        view.reset();
        MemberDataTest::TearDown();
    }
    void openView() {
        view = std::make_unique<TCdMemberFm>();
        view->resize(1000, 640);
        view->show();
        QApplication::processEvents();
    }
    void toMemberTab() { view->PageControl->setCurrentIndex(0); }
    void toSchemeTab() { view->PageControl->setCurrentIndex(1); }

    // "新增会员制度", the boxes filled as typed, "保存".
    void enterScheme(const QString& name, const QString& type, const QString& fee, const QString& grant) {
        view->AddSystemBtn->click();
        view->SystemName->setFieldText(name);
        view->SystemTypes->setFieldText(type);
        view->CdSystemPrice->setFieldText(fee);
        view->CdRewardDays->setFieldText(grant);
        view->SaveSystemBtn->click();
    }
    // "新增会员", the boxes filled, the scheme picked, "保存".
    void enterMember(const QString& name, const QString& number, const QString& scheme) {
        view->BtnAddMember->click();
        view->MemberName->setFieldText(name);
        view->dxDBEdit1->setFieldText(number);
        view->SystemType->setFieldText(scheme);
        view->BtnSaveMember->click();
    }
    // Makes the member with this number current, as a click on its row does.
    void clickMember(const QString& number) {
        ui::GridModel* model = view->dxDBGrid1->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            const QModelIndex index = model->index(row, 0);
            if (model->data(index, Qt::DisplayRole).toString() == number) {
                view->dxDBGrid1->clickRow(index);
                return;
            }
        }
        ADD_FAILURE() << "no member row " << number.toStdString();
    }

    std::unique_ptr<TCdMemberFm> view;
};

}  // namespace members_test
