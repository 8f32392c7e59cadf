#include <mervgauge/propertypage/PageLayout.h>

namespace merv {

namespace {

using namespace PageLayout;

// SSTab1 fills the page, short of the page's right edge.
constexpr TwipsRect TabArea{0, 0, 5610, PageHeight};

// The design captions of the tabs; every load replaces them from the string table.
constexpr const char* DesignTabCaptions[TabCount] = {"Variable definition", "Alarm settings",
                                                     "Colours settings"};

class PageBuilder {
public:
    explicit PageBuilder(ElementTree& tree) : m_tree(tree), m_tabs(makeTabs(tree)) {}

    TabControl& tabs() const noexcept { return m_tabs; }

    Label& label(int tab, const char* name, TwipsRect bounds, const char* caption) {
        Label& l = place(m_tree.create<Label>(name, &m_tabs), tab, bounds);
        l.setCaption(caption);
        return l;
    }

    TextField& field(int tab, const char* name, TwipsRect bounds, int focusOrder) {
        TextField& f = place(m_tree.create<TextField>(name, &m_tabs), tab, bounds);
        f.setTabIndex(focusOrder);
        return f;
    }

    PictureBox& swatch(const char* name, int left, int top, int focusOrder) {
        // Each swatch is a square of 240 twips.
        constexpr int Side = 240;
        PictureBox& p =
            place(m_tree.create<PictureBox>(name, &m_tabs), ColorTab, {left, top, Side, Side});
        p.setTabIndex(focusOrder);
        return p;
    }

    Label& swatchLabel(const char* name, int left, int top, int width, const char* caption) {
        constexpr int Height = 195;
        return label(ColorTab, name, {left, top, width, Height}, caption);
    }

    CommonDialog& dialog(const char* name) {
        CommonDialog& d = place(m_tree.create<CommonDialog>(name, &m_tabs), ColorTab, {});
        d.setVisible(false);
        return d;
    }

private:
    static TabControl& makeTabs(ElementTree& tree) {
        UserControl& page = tree.root();
        page.setBounds({0, 0, PageWidth, PageHeight});
        page.setWidth(PageWidth);
        page.setHeight(PageHeight);
        TabControl& tabs = tree.create<TabControl>("SSTab1", &page);
        tabs.setBounds(TabArea);
        tabs.setTabCount(TabCount);
        for (int tab = 0; tab < TabCount; ++tab)
            tabs.setTabCaption(tab, DesignTabCaptions[tab]);
        return tabs;
    }

    template <typename T>
    T& place(T& element, int tab, TwipsRect bounds) {
        m_tabs.setChildTab(element, tab);
        element.setBounds(bounds);
        return element;
    }

    ElementTree& m_tree;
    TabControl& m_tabs;
};

} // namespace

PageElements buildPropertyPage(ElementTree& tree) {
    PageBuilder b(tree);
    constexpr int V = VariableTab;
    constexpr int A = AlarmTab;

    // Tab 0: two columns, each label above its field.
    Label& lblVariableName = b.label(V, "lblVariableName", {900, 540, 1680, 240}, "VariableName:");
    TextField& txtVariableName = b.field(V, "txtVariableName", {900, 795, 1095, 330}, 1);
    Label& lblEngUnit = b.label(V, "lblEngUnit", {900, 1275, 1680, 240}, "Engineering Unit:");
    TextField& txtEngUnit = b.field(V, "txtEngUnit", {900, 1515, 1095, 330}, 2);
    Label& lblMaxValue = b.label(V, "lblMaxValue", {3255, 540, 1680, 240}, "MaxValue:");
    TextField& txtMaxValue = b.field(V, "txtMaxValue", {3255, 795, 1200, 330}, 3);
    Label& lblMinValue = b.label(V, "lblMinValue", {3255, 1185, 1680, 240}, "MinValue:");
    TextField& txtMinValue = b.field(V, "txtMinValue", {3255, 1440, 1200, 330}, 4);
    Label& lblPrecision = b.label(V, "lblPrecision", {3255, 1830, 1680, 240}, "Precision:");
    TextField& txtPrecision = b.field(V, "txtPrecision", {3255, 2070, 1200, 330}, 5);

    // Tab 1: one row per threshold, the label left of its field.
    Label& lblAlarmHigh = b.label(A, "lblAlarmHigh", {1335, 675, 1650, 240}, "AlarmHigh:");
    TextField& txtAlarmHigh = b.field(A, "txtAlarmHigh", {2983, 645, 1080, 330}, 11);
    Label& lblWarningHigh = b.label(A, "lblWarningHigh", {1335, 1185, 1650, 240}, "WarningHigh:");
    TextField& txtWarningHigh = b.field(A, "txtWarningHigh", {2983, 1140, 1080, 330}, 12);
    Label& lblWarningLow = b.label(A, "lblWarningLow", {1335, 1665, 1650, 240}, "WarningLow:");
    TextField& txtWarningLow = b.field(A, "txtWarningLow", {2983, 1620, 1080, 330}, 13);
    Label& lblAlarmLow = b.label(A, "lblAlarmLow", {1335, 2160, 1650, 240}, "AlarmLow:");
    TextField& txtAlarmLow = b.field(A, "txtAlarmLow", {2983, 2115, 1080, 330}, 14);

    // Tab 2: text, borders and backgrounds on the left, the range colours on the right. The
    // labels are the property names and are never loaded from the string table.
    Label& text = b.swatchLabel("Text", 675, 735, 675, "TextColor");
    PictureBox& tc = b.swatch("TC", 2040, 735, 19);
    Label& label1 = b.swatchLabel("Label1", 675, 1110, 900, "BordersColor");
    PictureBox& bc = b.swatch("BC", 2040, 1110, 21);
    Label& label2 = b.swatchLabel("Label2", 675, 1470, 1290, "BackColorGraphic");
    PictureBox& bcg = b.swatch("BCG", 2040, 1470, 23);
    Label& label3 = b.swatchLabel("Label3", 675, 1845, 1050, "BackColorText");
    PictureBox& bct = b.swatch("BCT", 2040, 1845, 25);
    Label& label4 = b.swatchLabel("Label4", 3495, 915, 750, "AlarmColor");
    PictureBox& ac = b.swatch("AC", 4560, 915, 27);
    Label& label5 = b.swatchLabel("Label5", 3495, 1290, 960, "WarningColor");
    PictureBox& wc = b.swatch("WC", 4545, 1290, 29);
    Label& label6 = b.swatchLabel("Label6", 3495, 1650, 855, "NormalColor");
    PictureBox& nc = b.swatch("NC", 4545, 1650, 31);
    CommonDialog& sceltaFontColor = b.dialog("SceltaFontColor");

    return PageElements{tree.root(),
                        b.tabs(),
                        lblVariableName,
                        txtVariableName,
                        lblEngUnit,
                        txtEngUnit,
                        lblMaxValue,
                        txtMaxValue,
                        lblMinValue,
                        txtMinValue,
                        lblPrecision,
                        txtPrecision,
                        lblAlarmHigh,
                        txtAlarmHigh,
                        lblWarningHigh,
                        txtWarningHigh,
                        lblWarningLow,
                        txtWarningLow,
                        lblAlarmLow,
                        txtAlarmLow,
                        text,
                        tc,
                        label1,
                        bc,
                        label2,
                        bcg,
                        label3,
                        bct,
                        label4,
                        ac,
                        label5,
                        wc,
                        label6,
                        nc,
                        sceltaFontColor};
}

} // namespace merv
