#pragma once
// The version window: product, version and maker, and the maker's home page
// one click away. There is at most one; asking for it again brings it
// forward.

#include <QWidget>

class QLabel;
class VbLabel;
class VbButton;

// The maker's home page.
inline constexpr char HomePageAddress[] = "https://quillex.example/";

class version : public QWidget {
    Q_OBJECT
public:
    explicit version(QWidget *parent = nullptr);
    ~version() override;

    // Shows the version window, not modal, centred on the screen (its frame
    // taken to be like that of the game table `table`); if it is already
    // open, brings it forward instead. It is destroyed when closed.
    static void open(const QWidget *table = nullptr);
    // The open version window, or null.
    static version *instance();

    QLabel *Image1 = nullptr;    // the program icon
    VbLabel *Label1 = nullptr;   // "Tivoran ver " and the version
    VbLabel *Label2 = nullptr;   // "Quillex"
    VbLabel *Label3 = nullptr;   // the home-page address
    VbButton *Command1 = nullptr; // "Back"

    void Label3_Click();
    void Command1_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_label3Pressed = false;
};
