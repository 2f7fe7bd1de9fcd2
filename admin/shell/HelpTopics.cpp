#include "admin/shell/HelpTopics.h"

namespace {

struct HelpTopic {
  int number;
  const char16_t* text;
};

// The texts as the program holds them, with their carriage returns and line feeds.
const HelpTopic kHelpTopics[] = {
    {1, u"User Access Permissions:\r\n 1.Add Records"},
    {2, u"User Access Permissions:\r\n 1.Edit Records"},
    {3, u"User Access Permissions:\r\n 1.Add Records\r\n 2.Edit Records"},
    {4, u"User Access Permissions:\r\n 1.Delete Records"},
    {5, u"User Access Permissions:\r\n 1.Add Records\r\n 2.Delete Records"},
    {6, u"User Access Permissions:\r\n 1.Edit Records\r\n 2.Delete Records"},
    {7, u"User Access Permissions:\r\n 1.Add Records\r\n 2.Edit Records\r\n 3.Delete Records"},
    {8, u"User Manager:\r\n1.Use \"Add new User\" to add new BlackBerry users to this software.\r\n\n2.Use \"Remove Current User\" to remove BlackBerry user from this software."},
    {9, u"Profile Manager:\r\n\n1.Add Profile:\r\n      Use this button to Select the Database.\r\n\n2.Edit Profile:\r\n      Use this button to update the selected profile.\r\nYou can select another Table / Views/Queries/ Stored Procedure.\r\nAlso you can change the Filter/Sort/Column Sequence of selected profile.\r\nIf the current profile is assigned to any of Form in Form Manager then software do not allow to change the selected Table/Views/Queries/Stored Procedure as well as you can not remove the fields which are mapped on the form.\r\n\n3.Remove Profile:\r\n      This will delete the selected profile and also delete the profile from the device."},
    {10, u"1.Use \"First row as a field header\" option transfer excel file as database and allow you to apply filter and sort.\r\n\n2.Use \"View As Excel WorkSheet\" option to transfer excel file as a sheet."},
    {11, u"Filters are applied in order to get the required records from the selected tables.\r\n\nSelect fields from available fields, select appropriate filter operator and set filter value in order to complete filter condition."},
    {12, u"Please fill filter values appropriately as per selected field. Filter value must match data type of selected field otherwise you will not get required result.\r\n\n      Use filter values depending on selected field such as\r\n\n         1. Type the text itself for character fields; it is put in ' for you\r\n\n         2. Use numbers only for numeric fields\r\n\n         3. Type dates as year-month-day for date fields; they are put in the delimiters of your database for you\r\n\n         4. Put times in ' for time fields\r\n\n         e.g.\r\n\n         name = John\r\n         amount >= 2000\r\n         birthdate = 1978-01-01\r\n         time >= '02:10:00'\r\n\nNote: Dates are put in # only for a genuine MS Access (Jet/ACE) file; every other database takes them in ', the SQLite databases named .mdb that come with this program included."},
    {13, u"Sorts are applied to get the records in the ordered form from the selected table.\r\n\nSelect fields from available fields, select appropriate order to complete sort condition."},
    {14, u"User Access Permissions:\r\n\n1.Use \"Add Records\" for allow to add records at BlackBerry.\r\n\n2.Use \"Edit Records\" for allow to edit records at BlackBerry.\r\n\n3.Use \"Delete Records\" for allow to delete records at BlackBerry."},
    {17, u"Install the device side software on mobile device which will have Device ID shown here. Software will synchronize only with the device which will have this Device ID."},
    {18, u"Select Unique key fields from above columns.\r\n\nThis Unique key column should not have repeated data in that column. Data in each record of this column should be Unique. You can select more than one columns, as a Unique key."},
    {19, u"To synchronize data, syncing application can be start in two ways.\r\n\n1. As application: As in Windows Service Mode, it's not running in any user's context, it can't access specific user's data/resources (which are specific to user account) e.g. User DSN, Network Mapped drive, network resources etc. To avoid such type of problem related to Windows Services, use \u201CStart As Application\u201D option.\r\n\n2. As Windows Service: It starts without any user logged in. It does not run in any specific user's login account."},
    {20, u"Database is password protected, Please enter proper User Name and Password to connect your database."},
    {21, u"Please click in \"Value\" column to change particular value of respective parameter."},
    {22, u"To get the data as per your requirement, you can use Filter/ Sort/ Arrange Column Order buttons."},
    {23, u"Here you can alter the order in which your database fields appear on your device. Select the fields in the order in which you want those to appear on your device.\r\n\n Use \"Clear All\" button to uncheck all the selected fields.\r\n\n Use \"Undo Select\" button to undo last selection."},
    {24, u"Data Source Name (DSN) is a ODBC connectivity to any type of database. You can connect to any ODBC compatible database(Oracle, SQL Sever, MySQL) available on machine through DSN.\r\n\nConfigure DSNs on your machine and use them in Tarnwick.\r\n\nThe DSNs of this machine are defined in the file odbc.ini in the \"odbc\" folder of Tarnwick's machine folder. Click on \"Config\" button to open it; when no program can open it, \"Config\" shows its full path. Add a section for each DSN: its name in brackets, a line \"Driver=\" with a driver named in odbcinst.ini in the same folder, and the driver's settings. Then open the wizard again to choose the DSN."},
    {25, u"Select a Desktop database, which you want to transfer to your Device.\r\n\nSelect File Based Database:\r\n        Use this to select the file based databases such as MS Access, MS Excel, Foxpro, dBase.\r\nUse \"Browse\" button to select file database like MS Access database(*.mdb),  MS Excel(*.xls), foxpro/dbase database(*.dbf) or text files.\r\n\n OR\r\n\nSelect ODBC Database:\r\n        Use this option to select the DSN base database such as MS SQL Server, Oracle. Select DSN (Data Source Name) available on your system from DSN list to connect to database.\r\nClick on \"Config\" button to configure data source names. Click on \"?\" to know more about DSN.\r\n\nIf You want to create Profile for stored Procedure then check the \"Stored Procedure\" check box other wise not."},
    {26, u"Select List Type to display list of either \"Tables\" or \"Views/Queries\".\r\n\nUse \"Select Column(s)\", to select the columns you want.\r\n\nUse \"Filter\" and \"Sort\" buttons to apply Filter and Sort on selected tables.\r\n\nUse \"Arrange Columns\" button to alter the order of columns.\r\n\n\"Show Preview\" button allows you to preview the database table/view you have selected."},
    {27, u"Select the procedure from \"Select Procedure(s)\".\r\n Specify Parameter's values if \"Parameter Values\" dialog box appear.\r\n\n\"Show Preview\" button allows you to preview the database procedure you have selected."},
    {30, u"Select profile to design a form from available profile List. \r\n\nUse \"Next\" button to move for Form Design on Form Designer Page."},
    {31, u"Drag and drop the controls on the form layout to design the form.\r\n\r\nUse \"Tap Properties\" to set Form Name, Caption (Subform names), Form Color.\r\n\r\nUse \"Control Properties\" to set properties for each control you use on the form.\r\n\r\nUse \"Apply\" button to finalize the form and send to Device."},
    {32, u"Use Form Manager to design form for your Device. Forms can be designed only for the profiles created in Profile Manager.\r\n\r\nClick on \"Add Form\" button to create the form and select the profile for which you have to create form."},
    {33, u"In Formula field, you can use +, -, *, /, (, ) operators in formula along with the conversion and Math functions provided in List Control.\r\n\r\nSelect Form Options to select the fields, which you want to use in the form.\r\n\r\nSelect Functions, to use various conversions and Math functions in your Formula.\r\n\r\nSelect Operators to select operators like +.-, *, /.\r\n\r\nDouble click on the Field names, functions or operators you want to use in the formula. Double click or use \u201CPaste\u201D button will write selected function or field name in Formula control"},
    {34, u"Set this Action to open another form.\r\nTo use this feature, form on which you want to jump should be ready first.\r\n\r\nHere use \u201CAdd\u201D Button to select the form on which you have to jump.\r\n\r\nYou can add more than one Form for one \u201CGo to Form\u201D button. If you map more than one form to this button, then on Device, when you will use this button, you will get a dialog that will ask you to choose the form on which you want to jump."},
    {35, u"Source Field: It is the field (column name) of profile on which you are currently designing the form. When you will jump on destination form, data will be searched on destination form according to this field data and will be displayed on jumped form (Destination Form).\r\n\r\nSelect Form: Here select the Form on which you have to jump (Destination form).\r\n\r\nDestination Field: Destination Field is the field on which data will be search in the destination form and import data for that record and displayed in destination form."},
    {36, u"To add a record from the Device Form, Please enter default values for the database fields which you have not mapped on the Form.\r\n\r\nThese default values will be entered in those field in desktop side database when you will add record on Device."},
};

}  // namespace

QString HelpTopicText(int topic) {
  for (const HelpTopic& entry : kHelpTopics) {
    if (entry.number == topic) return QString::fromUtf16(entry.text);
  }
  return QStringLiteral(" ");
}
