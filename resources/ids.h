/* Resource and control ids, shared by the resource script and the code.
   Plain defines only: windres reads this file too. */
#ifndef QUILLET_RESOURCES_IDS_H
#define QUILLET_RESOURCES_IDS_H

/* Main window "PRINCIPAL" */
#define IDC_COMMENT 0
#define IDC_OK 1
#define IDC_CANCEL 2
#define IDC_COMPUTE 3
#define IDC_PARAM_LABEL1 51 /* 51..54: letter of parameter i is 50+i */
#define IDC_PARAM_LABEL2 52
#define IDC_PARAM_LABEL3 53
#define IDC_PARAM_LABEL4 54
#define IDC_PARAM_EDIT1 61 /* 61..64: value of parameter i is 60+i */
#define IDC_PARAM_EDIT2 62
#define IDC_PARAM_EDIT3 63
#define IDC_PARAM_EDIT4 64
#define IDC_RESULT1 80
#define IDC_RESULT2 81
#define IDC_FORMULA 101
#define IDC_NEW 201
#define IDC_TABLE_BUTTON 210
#define IDC_TABLE_ICON 211
#define IDC_GROUP 65535         /* -1: the group boxes */
#define IDC_RESULT1_LABEL 65534 /* -2: "f=" or "f1=" */
#define IDC_RESULT2_LABEL 65533 /* -3: "f2=" */
#define IDC_NAME_LABEL 65531    /* -5: "f=" or "f1,f2:" before the formula */

/* Menu "MENU" */
#define IDM_EXIT 2
#define IDM_NEW 201
#define IDM_OPEN 202
#define IDM_SAVE 203
#define IDM_TABLE 210
#define IDM_TOOLS_EDIT 501
#define IDM_TOOL_FIRST 531
#define IDM_TOOL_LAST 594
#define IDM_INFO 800
#define IDM_ABOUT 801

/* Tools editor "DLGTOOLS" (IDC_CANCEL ends it too) */
#define IDC_TOOLS_NEW 3
#define IDC_TOOLS_DELETE 4
#define IDC_TOOLS_UP 5
#define IDC_TOOLS_DOWN 6
#define IDC_TOOLS_BROWSE 10
#define IDC_TOOLS_STORE 15
#define IDC_TOOLS_SAVE 20
#define IDC_TOOLS_LIST_LABEL 30
#define IDC_TOOLS_TITLE_LABEL 31
#define IDC_TOOLS_FILE_LABEL 32
#define IDC_TOOLS_DIR_LABEL 33
#define IDC_TOOLS_PARAMS_LABEL 34
#define IDC_TOOLS_LIST 40
#define IDC_TOOLS_TITLE 100
#define IDC_TOOLS_FILE 101
#define IDC_TOOLS_DIR 102
#define IDC_TOOLS_PARAMS 103
#define IDC_TOOLS_GROUP 150

/* About window */
#define IDC_ABOUT_BUTTON 1

/* Library dialog "LLISTAFORMULES" */
#define IDC_LIB_ENTER 1
#define IDC_LIB_CANCEL 2
#define IDC_LIB_TOPIC_OK 3
#define IDC_LIB_TOPIC_NEW 4
#define IDC_LIB_TOPIC_DELETE 5
#define IDC_LIB_FORMULA_OK 6
#define IDC_LIB_FORMULA_NEW 7
#define IDC_LIB_FORMULA_DELETE 8
#define IDC_LIB_ACCEPT 10
#define IDC_LIB_TOPICS 90
#define IDC_LIB_TOPIC_NAME 95
#define IDC_LIB_TOPIC_FILE 96
#define IDC_LIB_FORMULAS 100
#define IDC_LIB_FORMULA_NAME 119
#define IDC_LIB_EXPRESSION 120
#define IDC_LIB_COMMENT 121
#define IDC_LIB_HELP 199
#define IDC_LIB_HEADING 0     /* the formula list's heading */
#define IDC_LIB_LABEL 65535   /* -1: the other static texts */

/* Value table "TAULA" */
#define IDC_TABLE_VARIABLES 90
#define IDC_TABLE_FROM 20
#define IDC_TABLE_TO 21
#define IDC_TABLE_STEP 22
#define IDC_TABLE_CONST1 31 /* 31..33: constant j is 30+j */
#define IDC_TABLE_CONST2 32
#define IDC_TABLE_CONST3 33
#define IDC_TABLE_CONST_LABEL 39
#define IDC_TABLE_VAR_HEADER 40
#define IDC_TABLE_LETTER1 41 /* 41..43: letter of constant j is 40+j */
#define IDC_TABLE_LETTER2 42
#define IDC_TABLE_LETTER3 43
#define IDC_TABLE_ROWS 100
#define IDC_TABLE_PLOT 150
#define IDC_TABLE_VALUE_HEADER 0
#define IDM_TABLE_COPY 1001 /* "Copiar" of the rows' shortcut menu */
/* Made by code while a table is computed */
#define IDC_TABLE_PROGRESS 151
#define IDC_TABLE_STOP 152
#define IDC_TABLE_STATUS 153
/* The main window's line under the results, made by code for a long computation */
#define IDC_WORK_STATUS 90

#endif
