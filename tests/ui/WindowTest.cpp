#include <QAccessible>
#include <QSignalSpy>
#include <QTest>

#include "WindowHarness.h"
#include "ui/ComparedPhotoItem.h"
#include "ui/PhotoView.h"

namespace vesko {
namespace {

void expectStartScreen(WindowHarness& window) {
    QVERIFY(window.isShown("startScreen"));
    QVERIFY(!window.isShown("photoPane"));
    QCOMPARE(window.text("title"), QStringLiteral("Vesko"));
    QVERIFY(!window.isEnabled("decisionRow"));
    QVERIFY(!window.isEnabled("backButton"));
    QVERIFY(!window.isEnabled("undoButton"));
    QVERIFY(!window.alertOpen());
}

// The visible nodes of the accessibility tree below `node`, as a screen reader finds them.
QList<QAccessibleInterface*> accessibleNodes(QAccessibleInterface* node) {
    if (!node || !node->isValid() || node->state().invisible) return {};
    QList<QAccessibleInterface*> nodes{node};
    for (int i = 0; i < node->childCount(); ++i) {
        nodes << accessibleNodes(node->child(i));
    }
    return nodes;
}

QAccessibleInterface* accessible(WindowHarness& window, QAccessible::Role role,
                                 const QString& name) {
    for (QAccessibleInterface* node :
         accessibleNodes(QAccessible::queryAccessibleInterface(window.window()))) {
        if (node->role() == role && node->text(QAccessible::Name) == name) return node;
    }
    return nullptr;
}

// A screen reader's press on the named button; false when there is no such button.
bool pressAccessible(WindowHarness& window, const QString& name) {
    QAccessibleInterface* button = accessible(window, QAccessible::Button, name);
    if (!button || !button->actionInterface()) return false;
    button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    return true;
}

}  // namespace

// The real window and classifier on real scratch folders, from launch to "Done!", by the keys,
// the mouse, drops and a screen reader.
class WindowTest : public QObject {
    Q_OBJECT

private slots:
    // As when a screen reader is running; the offscreen platform has none to switch it on.
    void initTestCase() { QAccessible::setActive(true); }

    void startScreenTakesNoAnswerAndNamesEveryControl() {
        WindowHarness window;
        for (Qt::Key key :
             {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_Backspace, Qt::Key_Delete}) {
            window.press(key);
        }
        window.click("selectFolderButton");
        window.clickAt(QPointF(40, window.window()->height() / 2.0));
        QCOMPARE(window.chooser().timesShown, 2);  // cancelled both times
        expectStartScreen(window);
        // A folder that cannot be read is no finished one: the start screen stays and says why.
        const QString gone = QFileInfo(window.makeFolder("gone", {})).path() + "/nowhere";
        window.loadFolder(gone);
        expectStartScreen(window);
        QCOMPARE(window.text("notice"), "Vesko cannot read “" + gone + "”: it is not there.");
        QVERIFY(window.desktop().shown.empty());

        // Nothing nameless, and no button's word read a second time as text.
        for (QAccessibleInterface* node :
             accessibleNodes(QAccessible::queryAccessibleInterface(window.window()))) {
            const QString name = node->text(QAccessible::Name);
            QVERIFY2(node->role() == QAccessible::Window || !name.isEmpty(),
                     qPrintable(QString::number(node->role(), 16)));
            QVERIFY2(node->role() != QAccessible::StaticText ||
                         !accessible(window, QAccessible::Button, name),
                     qPrintable(name));
        }
    }

    void decisions_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("subfolder");  // empty: the photo stays and comes back last
        QTest::newRow("Return") << int(Qt::Key_Return) << 0 << "Selected";
        QTest::newRow("keypad Enter")
            << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << "Selected";
        QTest::newRow("Backspace") << int(Qt::Key_Backspace) << 0 << "Discarded";
        QTest::newRow("Delete") << int(Qt::Key_Delete) << 0 << "Discarded";
        QTest::newRow("Space") << int(Qt::Key_Space) << 0 << "";
    }

    // Two answers with the same key on a folder of three, then Undo and Back. Each answer shows
    // the next photo, redrawn though all have the same size, and counts; QML hears of each
    // change once, and only once every new value is readable.
    void decisions() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, subfolder);
        WindowHarness window;
        const QString folder = window.makeFolder("trip", {"a.jpg", "B c.JPG", "d.jpeg"});
        window.loadFolder(folder);
        QVERIFY(window.isShown("photoPane") && !window.isShown("startScreen"));
        auto* view = qobject_cast<PhotoView*>(window.item("photoPane"));
        QCOMPARE(view->photoRect().width() / view->photoRect().height(), 160.0 / 120);
        ViewModelBridge* viewModel = window.viewModel();
        QSignalSpy images(viewModel, &ViewModelBridge::currentImageChanged);
        QString titleWithImage;  // the image is announced first
        connect(viewModel, &ViewModelBridge::currentImageChanged, this,
                [&] { titleWithImage = viewModel->currentFileName(); });
        QStringList seen{window.text("title")};
        for (int step = 1; step <= 2; ++step) {
            const qint64 before = view->image().cacheKey();
            window.hold(Qt::Key(key), Qt::KeyboardModifiers(modifiers));  // one answer a press
            QVERIFY(view->image().cacheKey() != before);
            QCOMPARE(images.count(), step);
            QCOMPARE(titleWithImage, window.text("title"));
            QVERIFY(!seen.contains(window.text("title")));
            seen << window.text("title");
            const int decided = subfolder.isEmpty() ? 0 : step;
            QCOMPARE(window.text("countLabel"), QStringLiteral("%1/3").arg(decided));
            QCOMPARE(window.isEnabled("undoButton"), decided > 0);
        }
        // Undo brings back the last photo answered, once; Back leaves the rest where they are.
        window.click("undoButton");
        const int kept = subfolder.isEmpty() ? 0 : 1;
        QCOMPARE(window.text("title"), seen[2 - kept]);
        QCOMPARE(window.text("countLabel"), QStringLiteral("%1/3").arg(kept));
        QVERIFY(!window.isEnabled("undoButton"));
        window.click("backButton");
        expectStartScreen(window);
        QCOMPARE(window.filesIn(folder).size(), 3 - kept);
        if (kept) QCOMPARE(window.filesIn(folder + "/" + subfolder), seen.mid(0, 1));
    }

    // The window's own keys: Ctrl+Z undoes like the button; F11 and F toggle full screen and
    // Escape leaves it; ? and F1 show every key, and any key or click closes the overview
    // without doing what that key does elsewhere.
    void windowKeysUndoGoFullScreenAndListEveryKey() {
        WindowHarness window;
        const QString folder = window.makeFolder("keys", {"a.jpg", "b.jpg"});
        window.loadFolder(folder);
        window.press(Qt::Key_Return);
        QCOMPARE(window.text("countLabel"), QStringLiteral("1/2"));
        window.hold(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(window.text("countLabel"), QStringLiteral("0/2"));
        QCOMPARE(window.filesIn(folder).size(), 2);

        QWindow* frame = window.window();
        for (Qt::Key key : {Qt::Key_F11, Qt::Key_F}) {
            window.press(key);
            QTRY_COMPARE(frame->visibility(), QWindow::FullScreen);
            window.press(key == Qt::Key_F ? Qt::Key_Escape : key);
            QTRY_VERIFY(frame->visibility() != QWindow::FullScreen);
        }

        window.press(Qt::Key_Question);
        QVERIFY(window.popupOpen("keyOverview"));
        QVERIFY(accessible(window, QAccessible::StaticText,
                           QStringLiteral("Ctrl+Z: Undo the last answer")));
        window.press(Qt::Key_Return);
        QTRY_VERIFY(!window.popupOpen("keyOverview"));
        QCOMPARE(window.text("countLabel"), QStringLiteral("0/2"));
        window.press(Qt::Key_F1);
        QVERIFY(window.popupOpen("keyOverview"));
        window.clickAt(QPointF(10, frame->height() / 2.0));
        QTRY_VERIFY(!window.popupOpen("keyOverview"));
        QCOMPARE(frame->visibility(), QWindow::Windowed);
    }

    // A file that gives no picture must not trap the user: it is answered like any photo. A Yes
    // that cannot move it (its name is taken in Selected) keeps it current and says why until
    // the next key.
    void undecodableFileWithItsNameTakenCanBeAnswered() {
        WindowHarness window;
        const QString folder = window.makeFolder("odd", {});
        QVERIFY(QDir(folder).mkdir("Selected"));
        for (const QString& path : {folder + "/broken.jpg", folder + "/Selected/broken.jpg"}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("not an image at all") > 0);
        }
        window.loadFolder(folder);
        QVERIFY(!window.isShown("photoPane"));
        QVERIFY(accessible(window, QAccessible::Graphic,
                           "This file can't be shown. It is not an image that Vesko reads."));
        window.press(Qt::Key_Return);
        QCOMPARE(window.text("countLabel"), QStringLiteral("0/1"));
        QVERIFY(window.isShown("notice"));
        QCOMPARE(window.text("notice"),
                 "“broken.jpg” was not moved: “Selected” already holds a file of that name.");
        window.press(Qt::Key_Backspace);
        QVERIFY(!window.isShown("notice"));
        QCOMPARE(window.filesIn(folder + "/Discarded"), QStringList{"broken.jpg"});
    }

    // A name too long for the header gives way in its middle, so that Undo stays in reach; a
    // line break in a name shows as a mark on the one line. A screen reader hears both whole.
    void longOrOddNamesLeaveTheHeaderButtonsInReach() {
        WindowHarness window;
        const QString longName = QString("Sunset over the bay ").repeated(12) + "end.jpg";
        window.loadFolder(window.makeFolder("names", {"a\nb.jpg", longName}));
        window.window()->resize(700, 600);
        QCOMPARE(window.text("title"), QStringLiteral("a\u21b5b.jpg"));
        window.press(Qt::Key_Return);
        QVERIFY(accessible(window, QAccessible::StaticText, longName));
        QQuickItem* undo = window.item("undoButton");
        QVERIFY(undo->mapToScene({undo->width(), 0}).x() <= window.window()->width());
        window.click("undoButton");
        QCOMPARE(window.text("countLabel"), QStringLiteral("0/2"));
    }

    void doneIsShownUntilDismissed_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int>("closeKey");  // 0: the OK button
        QTest::addColumn<int>("undoKey");   // 0: none; Key_U: the alert's Undo button
        QTest::newRow("last photo, OK") << QStringList{"only.png"} << 0 << 0;
        QTest::newRow("last of two, Return")
            << QStringList{"a.jpg", "b.jpg"} << int(Qt::Key_Return) << 0;
        QTest::newRow("no photos, Escape") << QStringList{} << int(Qt::Key_Escape) << 0;
        QTest::newRow("Ctrl+Z, then Return")
            << QStringList{"a.jpg", "b.jpg"} << int(Qt::Key_Return) << int(Qt::Key_Z);
        QTest::newRow("Undo button, then OK") << QStringList{"only.png"} << 0 << int(Qt::Key_U);
    }

    // Answer keys do nothing under "Done!", and the key that answered last, held, does not close
    // it; Undo takes the last answer back; the key that closes it decides and undoes nothing.
    void doneIsShownUntilDismissed() {
        QFETCH(QStringList, files);
        QFETCH(int, closeKey);
        QFETCH(int, undoKey);
        WindowHarness window;
        const QString folder = window.makeFolder("trip", files);
        window.loadFolder(folder);
        for (int i = 0; i < files.size(); ++i) window.hold(Qt::Key_Return);
        QVERIFY(window.alertOpen());
        QVERIFY(!window.isShown("photoPane") && !window.isShown("startScreen"));
        QCOMPARE(window.desktop().shown.size(), std::size_t{1});
        if (!files.isEmpty()) {
            window.press(Qt::Key_Space);
            QVERIFY(window.alertOpen());
        }
        if (undoKey) {
            undoKey == Qt::Key_Z ? window.hold(Qt::Key_Z, Qt::ControlModifier)
                                 : window.click("alertUndoButton");
            QTRY_VERIFY(!window.alertOpen());
            QCOMPARE(window.text("title"), files.last());
            QCOMPARE(window.text("countLabel"),
                     QStringLiteral("%1/%2").arg(files.size() - 1).arg(files.size()));
            window.press(Qt::Key_Return);
            QVERIFY(window.alertOpen());
        }

        closeKey ? window.press(Qt::Key(closeKey)) : window.click("okButton");
        QTRY_VERIFY(!window.alertOpen());
        expectStartScreen(window);
        files.sort();
        QCOMPARE(window.filesIn(folder + "/Selected"), files);
        QCOMPARE(window.chooser().timesShown, 1);
    }

    // Through to "Done!" by the screen reader's press action alone, hearing each photo and
    // count; a disabled Undo ignores the press.
    void screenReaderHearsThePhotosAndPressesToTheEnd() {
        WindowHarness window;
        const QString folder = window.makeFolder("trip", {"Sunset at Brač.jpg", "b.jpg"});
        window.chooser().answer = std::filesystem::path(folder.toStdString());
        QVERIFY(pressAccessible(window, "Select folder"));
        const QString first = window.text("title");
        QVERIFY(accessible(window, QAccessible::Graphic, first));
        QVERIFY(accessible(window, QAccessible::StaticText, "0 of 2 photos decided"));

        QVERIFY(pressAccessible(window, "Yes"));
        QCOMPARE(window.filesIn(folder + "/Selected"), QStringList{first});
        QVERIFY(pressAccessible(window, "Undo"));
        QCOMPARE(window.filesIn(folder + "/Selected"), QStringList{});
        QVERIFY(pressAccessible(window, "Yes"));
        QVERIFY(pressAccessible(window, "Maybe"));
        QVERIFY(pressAccessible(window, "Undo"));  // disabled after Maybe
        QCOMPARE(window.filesIn(folder + "/Selected"), QStringList{first});
        QVERIFY(pressAccessible(window, "No"));
        QTRY_VERIFY(window.alertOpen());
        QVERIFY(accessible(window, QAccessible::StaticText, "All photos have been classified."));
        QVERIFY(pressAccessible(window, "OK"));
        QTRY_VERIFY(!window.alertOpen());
        QVERIFY(window.isShown("startScreen"));
    }

    // A dropped folder loads, and then the window takes no more drops. Which of several items
    // loads, and that a file does not, is the classifier's drop test.
    void droppedFolderLoads() {
        WindowHarness window;
        const QList<QUrl> urls{QUrl::fromLocalFile(window.makeFolder("My Photos", {"a.jpg"}))};
        QVERIFY(window.drop(urls));
        QTRY_COMPARE(window.viewModel()->folderName(), QStringLiteral("My Photos"));
        QVERIFY(!window.drop(urls));
    }

    // The zoomed view as the keys, the mouse and the answers move it. The window has no region
    // decoder here: the decoded photo stands for the full-resolution one.
    void zoomPansWithinThePhotoAndLastsAcrossAnswers() {
        WindowHarness window;
        window.loadFolder(window.makeFolder("burst", {"a.jpg", "b.jpg", "c.jpg"}, {2400, 1600}));
        auto* view = qobject_cast<PhotoView*>(window.item("photoPane"));
        const qreal ratio = window.window()->effectiveDevicePixelRatio();
        const QSizeF full = view->fullSize();
        const QSizeF shown = view->size() * ratio;
        QVERIFY(full.width() > shown.width() && full.height() > shown.height());
        const QPointF topLeftMost(shown.width() / 2, shown.height() / 2);
        const QPointF bottomRightMost = QPointF(full.width(), full.height()) - topLeftMost;

        window.press(Qt::Key_Z);
        QVERIFY(view->zoomed() && window.isShown("zoomBadge"));
        view->pan({1e5, 1e5});
        QCOMPARE(view->zoomCentre(), topLeftMost);
        view->pan({-1e5, -1e5});
        QCOMPARE(view->zoomCentre(), bottomRightMost);

        // A drag pans and keeps the zoom, and the next photo comes up zoomed at the same point.
        const QPointF middle = view->mapToScene({view->width() / 2, view->height() / 2});
        const QPoint dragged = (middle + QPointF(40, 30)).toPoint();
        QTest::mousePress(window.window(), Qt::LeftButton, {}, middle.toPoint());
        QTest::mouseMove(window.window(), dragged);
        QTest::mouseRelease(window.window(), Qt::LeftButton, {}, dragged);
        window.press(Qt::Key_Return);
        QCOMPARE(window.viewModel()->progress(), 1);
        QVERIFY(view->zoomed());
        QCOMPARE(view->zoomCentre(), bottomRightMost - QPointF(40, 30) * ratio);

        // Escape fits the photo again, a click without a move zooms, and Back fits it.
        window.press(Qt::Key_Escape);
        QVERIFY(!view->zoomed());
        window.clickAt(middle);
        QVERIFY(view->zoomed());
        window.click("backButton");
        QVERIFY(!view->zoomed());
    }

    // I shows how each photo was taken, changing with the picture in the same signal, and the
    // choice outlives the window.
    void factsLineFollowsThePhotoAndIsKept() {
        const auto preferences = std::make_shared<MemoryPreferences>();
        {
            WindowHarness window(false, preferences);
            const QString folder = window.makeFolder("facts", {"a.jpg", "b.jpg"});
            // Each photo's model is its own name: the folder's order is the file system's.
            WindowHarness::setExif(QDir(folder).filePath("a.jpg"), "Exif.Image.Model", "a.jpg");
            window.loadFolder(folder);
            QVERIFY(!window.isShown("factsLine"));
            window.press(Qt::Key_I);
            QVERIFY(window.isShown("factsLine"));
            const bool taggedFirst = window.viewModel()->currentFileName() == "a.jpg";
            const QString tagged = QStringLiteral("a.jpg"),
                          untagged = QStringLiteral("No shooting data");
            QCOMPARE(window.viewModel()->shootingFacts(), taggedFirst ? tagged : untagged);
            QStringList seen;
            QObject::connect(window.viewModel(), &ViewModelBridge::currentImageChanged,
                             [&] { seen << window.viewModel()->shootingFacts(); });
            window.press(Qt::Key_Return);
            QCOMPARE(seen, QStringList{taggedFirst ? untagged : tagged});
            QVERIFY(preferences->showsShootingFacts());
            window.click("infoButton");
            QVERIFY(!window.isShown("factsLine") && !preferences->showsShootingFacts());
            window.click("infoButton");
        }
        WindowHarness again(false, preferences);
        again.loadFolder(again.makeFolder("again", {"c.jpg"}));
        QVERIFY(again.isShown("factsLine"));
    }

    // A burst side by side: C, a pane chosen by key and by click, the chosen pane's photo
    // answered and put back by Undo, Escape back to one photo.
    void burstIsComparedPaneByPane() {
        WindowHarness window(true);
        const QString folder =
            window.makeFolder("burst", {"1.jpg", "2.jpg", "3.jpg", "4.jpg"}, {1600, 1200});
        for (const char* name : {"1.jpg", "2.jpg", "3.jpg"}) {
            WindowHarness::setExif(QDir(folder).filePath(name), "Exif.Photo.DateTimeOriginal",
                                   "2026:11:28 14:03:59");
        }
        window.loadFolder(folder);
        QTRY_COMPARE(window.text("burst"), QStringLiteral("Burst · 1 of 3"));
        window.press(Qt::Key_C);
        QVERIFY(window.isShown("comparePane2") && !window.isShown("photoPane"));
        // Z zooms every pane at one point, and a drag pans them all; Escape fits them again.
        const auto view = [&](const char* pane) {
            return window.item(pane)->findChild<PhotoView*>();
        };
        window.press(Qt::Key_Z);
        QVERIFY(view("comparePane0")->zoomed() && view("comparePane2")->zoomed());
        // Every pane turns sharp, not only the chosen one.
        RegionLoader* loader = view("comparePane0")->loader();
        QTRY_VERIFY(!loader->knownRegion(QDir(folder).filePath("3.jpg")).second.isNull());
        // As a drag of the first pane does (Shift held: `alone`).
        const auto drag = [&](bool alone) {
            view("comparePane0")->pan({20, 20});
            emit view("comparePane0")->dragged({20, 20}, alone);
        };
        drag(false);
        QCOMPARE(view("comparePane2")->zoomCentre(), view("comparePane0")->zoomCentre());
        QVERIFY(view("comparePane2")->relativeCentre() != QPointF(0.5, 0.5));
        drag(true);  // only the pane under the pointer
        QVERIFY(view("comparePane2")->zoomCentre() != view("comparePane0")->zoomCentre());
        window.press(Qt::Key_Escape);
        QVERIFY(!view("comparePane2")->zoomed() && window.isShown("comparePane2"));
        const auto chosen = [&] { return window.viewModel()->currentFileName(); };
        window.press(Qt::Key_Right);
        QCOMPARE(chosen(), QStringLiteral("2.jpg"));
        window.click("comparePane2");
        QCOMPARE(chosen(), QStringLiteral("3.jpg"));
        window.press(Qt::Key_1);
        window.press(Qt::Key_Right);
        window.press(Qt::Key_Backspace);
        QVERIFY(QFile::exists(folder + "/Discarded/2.jpg"));
        QCOMPARE(chosen(), QStringLiteral("3.jpg"));
        const auto* refilled =
            window.item("comparePane1")->property("photo").value<ComparedPhotoItem*>();
        QCOMPARE(refilled->fileName(), QStringLiteral("3.jpg"));
        QTRY_VERIFY(!window.isShown("comparePane2"));
        window.click("undoButton");
        QVERIFY(window.isShown("comparePane2"));
        QCOMPARE(chosen(), QStringLiteral("2.jpg"));
        window.press(Qt::Key_Escape);
        QVERIFY(window.isShown("photoPane") && !window.isShown("comparePane0"));
    }

    // A click near a corner of a photo larger than the screen zooms into that very corner,
    // also before its full size is known.
    void zoomAtACornerShowsThatCorner_data() {
        QTest::addColumn<QPointF>("corner");  // 0 or 1 across the photo
        QTest::newRow("top left") << QPointF(0, 0);
        QTest::newRow("top right") << QPointF(1, 0);
        QTest::newRow("bottom left") << QPointF(0, 1);
        QTest::newRow("bottom right") << QPointF(1, 1);
    }
    void zoomAtACornerShowsThatCorner() {
        QFETCH(QPointF, corner);
        WindowHarness window(true);
        window.loadFolder(window.makeFolder("big", {"a.jpg"}, {4000, 3000}));
        auto* view = qobject_cast<PhotoView*>(window.item("photoPane"));
        const QRectF photo = view->photoRect().adjusted(2, 2, -2, -2);
        window.clickAt(view->mapToScene(
            photo.topLeft() + QPointF(corner.x() * photo.width(), corner.y() * photo.height())));
        QVERIFY(view->zoomed());
        QTRY_COMPARE(view->fullSize(), QSizeF(4000, 3000));
        const QSizeF half = view->size() * window.window()->effectiveDevicePixelRatio() / 2;
        const QPointF nearest(corner.x() ? 4000 - half.width() : half.width(),
                              corner.y() ? 3000 - half.height() : half.height());
        QCOMPARE(view->zoomCentre(), nearest);
    }

    // Z on a baseline JPEG decodes the view alone first, so that it turns sharp sooner, and then
    // the view with its margin.
    void zoomSharpensTheViewBeforeItsMargin() {
        WindowHarness window(true);
        window.loadFolder(window.makeFolder("big", {"a.jpg"}, {4000, 3000}));
        auto* view = qobject_cast<PhotoView*>(window.item("photoPane"));
        RegionLoader* loader = view->loader();
        QList<QSize> regions;
        QObject::connect(loader, &RegionLoader::loaded, [&](const QString& photo) {
            const QSize region = loader->knownRegion(photo).first.size();
            if (!region.isEmpty() && (regions.isEmpty() || regions.last() != region)) {
                regions << region;
            }
        });
        window.press(Qt::Key_Z);
        QTRY_COMPARE(regions.size(), 2);
        QCOMPARE(regions[1], regions[0] * 2);
        QVERIFY(view->sharp());
    }

    // Pixels read ahead for the next photo are not shown once its file has been replaced.
    void zoomedViewShowsOnlyTheCurrentFilesPixels() {
        WindowHarness window(true);
        const QString folder = window.makeFolder("swap", {"1.jpg", "2.jpg", "3.jpg"}, {3000, 2000});
        window.loadFolder(folder);
        auto* view = qobject_cast<PhotoView*>(window.item("photoPane"));
        const QString second = QDir(folder).filePath("2.jpg");
        window.press(Qt::Key_Z);
        QTRY_VERIFY(!view->loader()->knownRegion(second).second.isNull());
        WindowHarness::saveJpeg(second, {3000, 2000}, Qt::blue);

        window.press(Qt::Key_Return);
        QVERIFY(view->zoomed());
        const auto centreColour = [&] {
            const QPointF middle = view->mapToScene({view->width() / 2, view->height() / 2});
            const qreal ratio = window.window()->effectiveDevicePixelRatio();
            return window.window()->grabWindow().pixelColor((middle * ratio).toPoint());
        };
        QVERIFY2(centreColour().blue() > 200, qPrintable(centreColour().name()));
        QTRY_VERIFY(!view->loader()->knownRegion(second).second.isNull());
        QVERIFY2(centreColour().blue() > 200, qPrintable(centreColour().name()));
    }
};

}  // namespace vesko

QTEST_MAIN(vesko::WindowTest)
#include "WindowTest.moc"
