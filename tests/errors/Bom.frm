VERSION 5.00
Begin VB.Form frmBom 
   Caption         =   "Bom"
End
Attribute VB_Name = "frmBom"
Option Explicit
