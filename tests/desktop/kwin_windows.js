// Prints a line into KWin's log for each window that it manages: caption, the
// program's id, whether it may be maximised, and its frame's centre. Plasma 6
// names the list windowList.
const ventanas = workspace.windowList ? workspace.windowList() : workspace.clientList();
for (const w of ventanas) {
    const marco = w.frameGeometry;
    print("tavolen-window " + JSON.stringify([w.caption, w.desktopFileName || w.resourceClass,
        w.maximizable, marco.x + marco.width / 2, marco.y + marco.height / 2]));
}
