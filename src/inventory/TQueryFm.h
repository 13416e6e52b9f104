#pragma once

#include <QDialog>
#include <QVector>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Narrows the catalogue's list by up to nine criteria at once; shown beside the catalogue, not modal.
class TQueryFm : public QDialog {
    Q_OBJECT
public:
    explicit TQueryFm(QWidget* parent = nullptr);

    QLineEdit* QueryName;
    QLineEdit* QueryId;
    QLineEdit* Querystarttime;
    QLineEdit* Queryendtime;
    QComboBox* QueryType;
    QComboBox* Querysitcom;
    QComboBox* Querydvdvcd;
    QComboBox* Querycountry;
    QLineEdit* Querydirect;
    QLineEdit* Queryplayer;
    QPushButton* BtnEnter;
    QPushButton* BtnCancel;

    // One criterion: its group, its two radio buttons and its inputs.
    struct Criterion {
        QGroupBox* group;
        QRadioButton* unlimited;  // "无限制"
        QRadioButton* custom;     // "自定义"
        QList<QWidget*> inputs;
    };
    // In the order in which they enter the SQL text.
    const QVector<Criterion>& criteria() const { return criteria_; }

    // The SQL text the chosen criteria give, one line per entry. Throws SilentStop after its notice when the time
    // range is chosen without two valid dates.
    QStringList buildSql();

Q_SIGNALS:
    // The chosen criteria as an SQL text, one line per entry, for the catalogue's list.
    void queryChosen(const QStringList& lines);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    Criterion& addCriterion(const QString& caption, const QString& customCaption, QList<QWidget*> inputs,
                            const QString& between = {});
    void onEnter();

    QVector<Criterion> criteria_;
};
