#pragma once

#include <QString>

#include <optional>

class CSettingsStore;

// What the "Price" page shows and stores: the tariff of every call.
struct CPriceOptions {
    // The three money fields, in the order the page reads them.
    enum MoneyField { PricePerDial, CheapCostPerMinute, CostPerMinute };

    static constexpr int kTimeCount = 96;
    // The items of the two cheap-time lists: "00:00", "00:15" ... "23:45" and "00:14",
    // "00:29" ... "23:59".
    static QString FromTime(int index);
    static QString ToTime(int index);

    // As shown in the fields.
    QString pricePerDial;
    QString costPerMinute;
    QString cheapCostPerMinute;
    int fromIndex = 92;
    int toIndex = 23;
    bool cheapInSat = false;
    bool cheapInSun = false;
    // Clock texts, stored exactly as typed.
    QString minConTime;
    QString connectionBlock;
    QString freeMonthTime;

    static CPriceOptions Load(const CSettingsStore& store);

    // The first money field, in the page's read order, that holds no number; none when
    // every value can be stored.
    std::optional<MoneyField> Refused() const;
    static constexpr const char* kNotANumber = "Please enter a number.";

    // Writes every value: money with ten decimals, clock texts as typed, both the position
    // and the text of each list item, the weekend boxes. Call only when Refused() found
    // nothing.
    void Store(CSettingsStore& store) const;

    // A money field's number: blanks around it, a sign, a fraction and an exponent are
    // fine; anything else, or nothing, is none.
    static std::optional<double> ParseMoney(const QString& text);
};
