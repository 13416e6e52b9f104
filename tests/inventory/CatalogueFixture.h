#pragma once

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "app/TProjectMainFm.h"
#include "app/Views.h"
#include "inventory/TCdResourceFm.h"
#include "support/Fixture.h"

namespace inventory_tests {

// Enabled states of 购买, 销售, 报废, 保存, 删除, 取消.
struct ButtonStates {
    bool buy, sale, depose, save, del, cancel;
    bool operator==(const ButtonStates& o) const {
        return buy == o.buy && sale == o.sale && depose == o.depose && save == o.save && del == o.del &&
               cancel == o.cancel;
    }
};

// The catalogue docked as the operator opens it, with helpers that act on it as he does.
class CatalogueTest : public testing_support::AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        startViews();
        mainWindow->selectModule(Module::CdResource);
        fm = views().cdResource;
        ASSERT_NE(fm, nullptr);
    }

    // A title written straight into the database; the catalogue's list is re-read.
    qint64 addTitle(const QString& number, const QString& name, const QString& series = QStringLiteral("否"),
                    int stock = 5, const QString& buyPrice = QStringLiteral("10"),
                    const QString& buyDate = QStringLiteral("2026-12-01"), const QString& rent = QStringLiteral("2")) {
        exec(QStringLiteral("insert into TCdResource (CountId, CdName, SitComYesOrNo, stock, BuySeriesCount, BuyPrice, "
                            "BuyDate, RentPrice, PerPieces, Types, CdDvdOrVcd, CdRegion) values (") +
             jet::quoted(number) + u',' + jet::quoted(name) + u',' + jet::quoted(series) + u',' +
             QString::number(stock) + u',' + QString::number(stock) + u',' + buyPrice + u',' + QStringLiteral("#") +
             buyDate + QStringLiteral("#,") + rent + QStringLiteral(",2,") + jet::quoted(QStringLiteral("其它类型")) +
             QStringLiteral(",\"VCD\",\"香港\")"));
        const qint64 id = scalarInt(QStringLiteral("select max(ID) from TCdResource"));
        fm->Q->refresh();
        return id;
    }
    void addVolume(qint64 seriesId, const QString& number, const QString& name, int stock) {
        exec(QStringLiteral("insert into Sitcom (CdId, CdCountId, CdCountName, CdNumber, BuySeriesCount, Stock) "
                            "values (") +
             QString::number(seriesId) + u',' + jet::quoted(number) + u',' + jet::quoted(name) +
             QStringLiteral(",\"1,2集\",") + QString::number(stock) + u',' + QString::number(stock) + u')');
    }

    // Makes the title with this number current, as a click in the grid does.
    void select(const QString& number) {
        for (int row = 0; row < fm->Q->recordCount(); ++row) {
            fm->Q->moveTo(row);
            if (fm->Q->field("CountId").asString() == number) {
                fm->GridMain->clickRow(fm->GridMain->model()->indexOfSourceRow(row));
                return;
            }
        }
        ADD_FAILURE() << "no title " << number.toStdString();
    }

    void chooseStandard(int entry = 0) {
        fm->CdRentStandard->setCurrentIndex(entry);
        Q_EMIT fm->CdRentStandard->activated(entry);
    }

    // "购买" with a number and a name, a rent standard chosen, discs per set and sets bought.
    void startPurchase(const QString& number, const QString& name, int discs = 2, int sets = 1,
                       const QString& series = QStringLiteral("否")) {
        fm->BtnBuy->click();
        fm->CdCountId->setFieldText(number);
        fm->CdName->setFieldText(name);
        fm->CdPerCount->setFieldText(QString::number(discs));
        fm->CdCount->setFieldText(QString::number(sets));
        fm->CdSitcom->setFieldText(series);
        chooseStandard();
    }

    ButtonStates buttons() const {
        return {fm->BtnBuy->isEnabled(),  fm->BtnSale->isEnabled(),   fm->BtnDepose->isEnabled(),
                fm->BtnSave->isEnabled(), fm->BtnDelete->isEnabled(), fm->BtnCancel->isEnabled()};
    }

    TCdResourceFm* fm = nullptr;
};

inline std::ostream& operator<<(std::ostream& out, const ButtonStates& b) {
    return out << "buy " << b.buy << " sale " << b.sale << " depose " << b.depose << " save " << b.save << " delete "
               << b.del << " cancel " << b.cancel;
}

}  // namespace inventory_tests
