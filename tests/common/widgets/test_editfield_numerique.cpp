#include "editfield_numerique.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// A window with the number field and another field after it.
class Fenetre : public testing::Test {
protected:
    void SetUp() override {
        auto* disposition = new QVBoxLayout(&fenetre);
        disposition->addWidget(champ);
        disposition->addWidget(voisin);
        fenetre.show();
        fenetre.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&fenetre));
        champ->setFocus();
    }

    QWidget fenetre;
    editfield_numerique* champ = new editfield_numerique;
    QLineEdit* voisin = new QLineEdit;
};

} // namespace

TEST_F(Fenetre, TakesDigitsAndOneSeparator) {
    QTest::keyClicks(champ, "12a 3-+4,5.6,7e");
    EXPECT_EQ(champ->text(), "1234,567");
    champ->clear();
    QTest::keyClicks(champ, "0.25,");
    EXPECT_EQ(champ->text(), "0.25");
    champ->clear();
    QTest::keyClicks(champ, "-3");
    EXPECT_EQ(champ->text(), "3") << "no sign can be typed";
}

TEST_F(Fenetre, CountsTheCharactersOnEachSideOfTheSeparator) {
    QTest::keyClicks(champ, "1234567890123");
    EXPECT_EQ(champ->text(), "123456789012") << "a 13th digit is refused";
    QTest::keyClicks(champ, ",12345678901234");
    EXPECT_EQ(champ->text(), "123456789012,123456789012");

    champ->setText("123456789012");
    champ->setSelection(4, 1);
    QTest::keyClick(champ, '9');
    EXPECT_EQ(champ->text(), "123496789012") << "typed over a selection, the count stays 12";

    champ->nb_maxi_chiffres_entiers = 3;
    champ->nb_maxi_chiffes_decimaux = 2;
    champ->clear();
    QTest::keyClicks(champ, "12345,678");
    EXPECT_EQ(champ->text(), "123,67");
    champ->setCursorPosition(0);
    QTest::keyClick(champ, '9');
    EXPECT_EQ(champ->text(), "123,67");
}

TEST_F(Fenetre, ASecondSeparatorIsRefusedEvenOverTheFirst) {
    champ->setText("3,5");
    QTest::keyClick(champ, '.');
    QTest::keyClick(champ, ',');
    EXPECT_EQ(champ->text(), "3,5");
    champ->setText("3.5");
    QTest::keyClick(champ, ',');
    EXPECT_EQ(champ->text(), "3.5");
    champ->setSelection(1, 1);
    QTest::keyClick(champ, ',');
    EXPECT_EQ(champ->text(), "3.5") << "the present text already holds a separator";
}

TEST_F(Fenetre, EditingKeysPassEvenInAFullField) {
    QTest::keyClicks(champ, "123456789012");
    QSignalSpy retours(champ, &QLineEdit::returnPressed);
    QTest::keyClick(champ, Qt::Key_Left);
    QTest::keyClick(champ, Qt::Key_Left);
    EXPECT_EQ(champ->cursorPosition(), 10);
    QTest::keyClick(champ, Qt::Key_Right);
    EXPECT_EQ(champ->cursorPosition(), 11);
    QTest::keyClick(champ, Qt::Key_Backspace);
    EXPECT_EQ(champ->text(), "12345678902");
    QTest::keyClick(champ, Qt::Key_Return);
    QTest::keyClick(champ, Qt::Key_Enter);
    EXPECT_EQ(retours.count(), 2);
}

TEST_F(Fenetre, TabAndOtherKeysAreRefused) {
    champ->setText("42");
    champ->setCursorPosition(0);
    QTest::keyClick(champ, Qt::Key_Tab);
    EXPECT_TRUE(champ->hasFocus()) << "Tab is refused: the focus stays";
    QTest::keyClick(champ, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(champ->hasFocus());
    QTest::keyClick(champ, Qt::Key_Delete);
    QTest::keyClick(champ, Qt::Key_Up);
    QTest::keyClick(champ, Qt::Key_Down);
    QTest::keyClick(champ, Qt::Key_Space);
    EXPECT_EQ(champ->text(), "42");

    QGuiApplication::clipboard()->setText("abc");
    champ->selectAll();
    QTest::keyClick(champ, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(champ->text(), "42") << "no paste through the keyboard";
}

TEST_F(Fenetre, PastedAndDroppedTextKeepsToTheRuleOfTypedText) {
    champ->nb_maxi_chiffres_entiers = 3;
    champ->nb_maxi_chiffes_decimaux = 2;
    // Present text | pasted text = what the field holds after.
    for (const QString& cas :
         QString("|12,5=12,5 |1a2= |1,2.3= |1234= |1,234= 1|2.5=12.5 4,|x=4,").split(' ')) {
        champ->setText(cas.section('|', 0, 0));
        QGuiApplication::clipboard()->setText(cas.section('|', 1).section('=', 0, 0));
        champ->paste();
        EXPECT_EQ(champ->text(), cas.section('=', 1)) << cas.toStdString();
    }
    champ->setText("7");
    for (const char* depose : {"ab", "89"}) {
        QMimeData donnees;
        donnees.setText(depose);
        const QPoint point(champ->width() - 2, champ->height() / 2);
        // The drop goes to the widget that took the drag in.
        QDragEnterEvent entree(point, Qt::CopyAction, &donnees, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(champ, &entree);
        QDropEvent depot(point, Qt::CopyAction, &donnees, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(champ, &depot);
    }
    EXPECT_EQ(champ->text(), "789") << "a letter never comes in by a drop";
    champ->setText("123,45");
    champ->setCursorPosition(4);
    QTest::keyClick(champ, Qt::Key_Backspace);
    EXPECT_EQ(champ->text(), "12345") << "deleting stays free, as it always was";
}

TEST_F(Fenetre, TheOwnersTextIsNotFiltered) {
    champ->setText("abc,.,");
    EXPECT_EQ(champ->text(), "abc,.,");
}

TEST(ToucheNumerique, KeysTakeTheirClassicCodes) {
    editfield_numerique champ;
    const std::pair<Qt::Key, int> cas[] = {
        {Qt::Key_Enter, 3},   {Qt::Key_Backspace, 8}, {Qt::Key_Tab, 9},    {Qt::Key_Return, 13},
        {Qt::Key_Escape, 27}, {Qt::Key_Left, 28},     {Qt::Key_Right, 29}, {Qt::Key_Up, 30},
        {Qt::Key_Down, 31},   {Qt::Key_Delete, 127}};
    for (const auto& [cle, code] : cas) {
        QKeyEvent evenement(QEvent::KeyPress, cle, Qt::NoModifier);
        EXPECT_EQ(editfield_numerique::touche(evenement), QString(QChar(code)));
    }
    QKeyEvent chiffre(QEvent::KeyPress, Qt::Key_7, Qt::NoModifier, "7");
    EXPECT_EQ(editfield_numerique::touche(chiffre), "7");
    QKeyEvent commande(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier, QString(QChar(3)));
    EXPECT_EQ(editfield_numerique::touche(commande), "") << "Ctrl+C is not Enter";
    EXPECT_TRUE(champ.Event_KeyDown(""));
}
