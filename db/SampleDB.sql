-- A small sample data source for a first profile.
CREATE TABLE Customers (
  CustomerID INTEGER PRIMARY KEY,
  CompanyName VARCHAR(60) NOT NULL,
  ContactName VARCHAR(40),
  City VARCHAR(30),
  Country VARCHAR(30),
  Phone VARCHAR(24)
);

CREATE TABLE Products (
  ProductID INTEGER PRIMARY KEY,
  ProductName VARCHAR(60) NOT NULL,
  UnitPrice DECIMAL(10, 2),
  UnitsInStock SMALLINT,
  Discontinued BIT
);

CREATE TABLE Orders (
  OrderID INTEGER PRIMARY KEY,
  CustomerID INTEGER NOT NULL REFERENCES Customers (CustomerID),
  OrderDate DATE,
  ShipCity VARCHAR(30),
  Freight DECIMAL(10, 2)
);

INSERT INTO Customers VALUES
  (1, 'Alder Outfitters', 'Maria Lindqvist', 'Uppsala', 'Sweden', '018-555 0142'),
  (2, 'Brookside Traders', 'Tom O''Hara', 'Galway', 'Ireland', '091 555 0187'),
  (3, 'Cedar Lane Books', 'Ana Ribeiro', 'Porto', 'Portugal', '22 555 0133'),
  (4, 'Dunmore Kitchens', 'Lukas Brandt', 'Leipzig', 'Germany', '0341 5550199');

INSERT INTO Products VALUES
  (1, 'Field Notebook', 4.50, 120, 0),
  (2, 'Trail Lantern', 27.95, 14, 0),
  (3, 'Canvas Satchel', 39.00, 0, 1),
  (4, 'Enamel Mug', 8.25, 64, 0);

INSERT INTO Orders VALUES
  (1001, 1, '2009-03-05', 'Uppsala', 12.40),
  (1002, 2, '2009-03-07', 'Galway', 8.00),
  (1003, 1, '2009-04-11', 'Uppsala', 15.75),
  (1004, 4, '2009-05-02', 'Leipzig', 21.10);

CREATE VIEW CustomerOrders AS
  SELECT Orders.OrderID, Customers.CompanyName, Orders.OrderDate, Orders.Freight
  FROM Orders JOIN Customers ON Customers.CustomerID = Orders.CustomerID;
